#include "tools/messages_markdown.h"

#include <sstream>
#include <stdexcept>

static const char* const NoEntry = "\u2014";  // an em dash

static const char* const Introduction = R"(# msgcode messages

Every error number that at least one of msgcode's four message tables
holds, with the message that each table gives for it: the four lines that
`msgcode N` prints, side by side. The last column names what changed from
Turbo Pascal 5.5 to 6.0.

A dash (—) stands where a table has no entry for the number; msgcode then
prints that table's fallback text, listed below. Every number that is not
listed here, 0 and the negative numbers included, gets all four fallback
texts.

This file is generated from the program's own tables by
`tools/message_reference`; do not edit it by hand. After a change to a
table, regenerate it with

    cmake --build build --target update-messages-doc

)";

static const char* const FallbackIntroduction = R"(
## Fallback texts

Each fallback text begins with a carriage return (byte 0x0D), which is not
shown below. On a console it sends the cursor back to the start of the
line, so the fallback text covers the heading in front of it; a file or a
pipe keeps both.

)";

// A message as a code span, which shows every character as it is. Texts
// that a code span in a table cell cannot hold unchanged are refused.
static std::string CodeSpan(const std::string& text) {
  if (text.empty() || text.front() == ' ' || text.back() == ' ')
    throw std::invalid_argument("empty message, or one with a blank at an end: \"" + text + "\"");
  for (char c : text)
    if (c < ' ' || c > '~' || c == '`' || c == '|')
      throw std::invalid_argument("message with a character that a table cell cannot show: \"" +
                                  text + "\"");
  return "`" + text + "`";
}

static std::string Cell(const std::optional<std::string>& message) {
  return message ? CodeSpan(*message) : NoEntry;
}

static void AddChange(std::string& changes, const char* kind,
                      const std::optional<std::string>& in55,
                      const std::optional<std::string>& in60) {
  std::string change;
  if (in55 && in60 && *in55 != *in60) change = " text changed";
  if (!in55 && in60) change = " message added";
  if (in55 && !in60) change = " message dropped";
  if (change.empty()) return;
  if (!changes.empty()) changes += "; ";
  changes += kind + change;
}

// The columns come in the order 5.5 compiler, 6.0 compiler, 5.5 run-time,
// 6.0 run-time.
static std::string ChangesIn60(const MessageRow& row) {
  std::string changes;
  AddChange(changes, "compiler", row.Messages[0], row.Messages[1]);
  AddChange(changes, "run-time", row.Messages[2], row.Messages[3]);
  return changes;
}

static void WriteMessageTable(std::ostream& out, const std::vector<MessageRow>& rows) {
  out << "## Messages\n\n| Code |";
  for (const TitledTable& titled : TitledTables()) out << ' ' << titled.Title << " |";
  out << " From 5.5 to 6.0 |\n|---:|";
  for (int t = 0; t < TableCount; ++t) out << "---|";
  out << "---|\n";
  for (const MessageRow& row : rows) {
    out << "| " << row.Code << " |";
    for (const std::optional<std::string>& message : row.Messages)
      out << ' ' << Cell(message) << " |";
    const std::string changes = ChangesIn60(row);
    out << (changes.empty() ? "" : " ") << changes << " |\n";
  }
}

static std::string FallbackWithoutReturn(const TitledTable& titled) {
  const std::string fallback = titled.Table.FallbackText;
  if (fallback.empty() || fallback.front() != '\r')
    throw std::invalid_argument(std::string("the fallback text of ") + titled.Title +
                                " does not begin with a carriage return");
  return fallback.substr(1);
}

static void WriteFallbackTable(std::ostream& out) {
  out << FallbackIntroduction << "| Table | Fallback text |\n|---|---|\n";
  for (const TitledTable& titled : TitledTables())
    out << "| " << titled.Title << " | " << CodeSpan(FallbackWithoutReturn(titled)) << " |\n";
}

static void WriteEntryCounts(std::ostream& out) {
  out << "\n## Entries per table\n\n| Table | Entries |\n|---|---:|\n";
  for (const TitledTable& titled : TitledTables())
    out << "| " << titled.Title << " | " << titled.Table.EntryCount << " |\n";
}

std::string MessagesMarkdown(const std::vector<MessageRow>& rows) {
  std::ostringstream out;
  out << Introduction;
  WriteMessageTable(out, rows);
  WriteFallbackTable(out);
  WriteEntryCounts(out);
  return out.str();
}
