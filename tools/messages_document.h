// Reads docs/messages.md back: what the reference states for every code, the
// fallback texts and the number of entries of each table. Independent of
// the generator, so that the tests check the document, not its source.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

constexpr int DocumentedTableCount = 4;

struct DocumentedRow {
  int Code;
  // None where the cell holds the dash: the table has no entry.
  std::array<std::optional<std::string>, DocumentedTableCount> Messages;
  std::string Changes;  // the last column, "" when nothing changed
};

struct MessagesDocument {
  std::array<std::string, DocumentedTableCount> Titles;  // the column heads
  std::vector<DocumentedRow> Rows;
  std::array<std::string, DocumentedTableCount> FallbackTexts;  // without the carriage return
  std::array<int, DocumentedTableCount> EntryCounts;
};

// Throws std::runtime_error, naming the line, when the file is missing or a
// section is not laid out as the reference lays it out.
MessagesDocument ReadMessagesDocument(const std::string& path);
