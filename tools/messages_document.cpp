#include "tools/messages_document.h"

#include <fstream>
#include <map>
#include <stdexcept>

namespace {

const std::string NoEntry = "\u2014";

struct TableLine {
  int LineNumber;
  std::vector<std::string> Cells;
};

[[noreturn]] void Malformed(int lineNumber, const std::string& what) {
  throw std::runtime_error("docs/messages.md line " + std::to_string(lineNumber) + ": " + what);
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// "| a | b |" gives a and b.
std::vector<std::string> CellsOf(const std::string& line) {
  std::vector<std::string> cells;
  size_t start = 1;
  for (size_t bar = line.find('|', start); bar != std::string::npos; bar = line.find('|', start)) {
    cells.push_back(Trimmed(line.substr(start, bar - start)));
    start = bar + 1;
  }
  return cells;
}

// The lines of every Markdown table, by the "## " heading above it; the
// head of each table comes first, its delimiter row is left out.
std::map<std::string, std::vector<TableLine>> TablesBySection(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot read " + path);
  std::map<std::string, std::vector<TableLine>> tables;
  std::string section;
  std::string line;
  for (int lineNumber = 1; std::getline(file, line); ++lineNumber) {
    if (line.rfind("## ", 0) == 0) section = line.substr(3);
    if (line.rfind("|---", 0) == 0 || line.rfind('|', 0) != 0) continue;
    if (line.back() != '|') Malformed(lineNumber, "a table line that does not end in '|'");
    tables[section].push_back({lineNumber, CellsOf(line)});
  }
  return tables;
}

const std::vector<TableLine>& Section(const std::map<std::string, std::vector<TableLine>>& tables,
                                      const std::string& name, size_t columns) {
  const auto found = tables.find(name);
  if (found == tables.end())
    throw std::runtime_error("docs/messages.md has no table under \"## " + name + "\"");
  for (const TableLine& line : found->second)
    if (line.Cells.size() != columns)
      Malformed(line.LineNumber, "expected " + std::to_string(columns) + " cells");
  return found->second;
}

std::string CodeSpanText(const TableLine& line, const std::string& cell) {
  if (cell.size() < 2 || cell.front() != '`' || cell.back() != '`')
    Malformed(line.LineNumber, "expected a text in backticks, found: " + cell);
  return cell.substr(1, cell.size() - 2);
}

std::optional<std::string> MessageOf(const TableLine& line, const std::string& cell) {
  if (cell == NoEntry) return std::nullopt;
  return CodeSpanText(line, cell);
}

int NumberOf(const TableLine& line, const std::string& cell) {
  size_t used = 0;
  int number = 0;
  try {
    number = std::stoi(cell, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used == 0 || used != cell.size())
    Malformed(line.LineNumber, "expected a number, found: " + cell);
  return number;
}

// The i-th body line of a section's table must name the i-th column title.
void ExpectTitle(const TableLine& line, const std::string& cell, const std::string& title) {
  if (cell != title) Malformed(line.LineNumber, "expected the table " + title + ", found: " + cell);
}

}  // namespace

MessagesDocument ReadMessagesDocument(const std::string& path) {
  const auto tables = TablesBySection(path);
  MessagesDocument document{};

  const auto& messages = Section(tables, "Messages", 2 + DocumentedTableCount);
  if (messages.empty()) throw std::runtime_error("docs/messages.md: the message table is empty");
  for (int t = 0; t < DocumentedTableCount; ++t) document.Titles[t] = messages[0].Cells[1 + t];
  for (size_t i = 1; i < messages.size(); ++i) {
    const TableLine& line = messages[i];
    DocumentedRow row{NumberOf(line, line.Cells[0]), {}, line.Cells.back()};
    for (int t = 0; t < DocumentedTableCount; ++t)
      row.Messages[t] = MessageOf(line, line.Cells[1 + t]);
    document.Rows.push_back(row);
  }

  const auto& fallbacks = Section(tables, "Fallback texts", 2);
  if (fallbacks.size() != 1 + DocumentedTableCount)
    throw std::runtime_error("docs/messages.md: expected one fallback text per table");
  for (int t = 0; t < DocumentedTableCount; ++t) {
    const TableLine& line = fallbacks[1 + t];
    ExpectTitle(line, line.Cells[0], document.Titles[t]);
    document.FallbackTexts[t] = CodeSpanText(line, line.Cells[1]);
  }

  const auto& counts = Section(tables, "Entries per table", 2);
  if (counts.size() != 1 + DocumentedTableCount)
    throw std::runtime_error("docs/messages.md: expected one entry count per table");
  for (int t = 0; t < DocumentedTableCount; ++t) {
    const TableLine& line = counts[1 + t];
    ExpectTitle(line, line.Cells[0], document.Titles[t]);
    document.EntryCounts[t] = NumberOf(line, line.Cells[1]);
  }
  return document;
}
