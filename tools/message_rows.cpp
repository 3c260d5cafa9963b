#include "tools/message_rows.h"

#include <set>

const std::array<TitledTable, TableCount>& TitledTables() {
  static const std::array<TitledTable, TableCount> tables = {{
      {"TP 5.5 compiler", Tp55CompilerMessages},
      {"TP 6.0 compiler", Tp60CompilerMessages},
      {"TP 5.5 run-time", Tp55RuntimeMessages},
      {"TP 6.0 run-time", Tp60RuntimeMessages},
  }};
  return tables;
}

static std::set<int> CodesOfAllTables() {
  std::set<int> codes;
  for (const TitledTable& titled : TitledTables())
    for (int32_t i = 0; i < titled.Table.EntryCount; ++i)
      codes.insert(titled.Table.Entries[i].Code);
  return codes;
}

// What msgcode prints for the code, or none for the fallback text.
static std::optional<std::string> AnswerOf(const MessageTable& table, int code) {
  const ShortString answer = FindMessage(table, static_cast<int16_t>(code));
  const std::string text(answer.Bytes, answer.Length);
  if (text == table.FallbackText) return std::nullopt;
  return text;
}

std::vector<MessageRow> CollectMessageRows() {
  std::vector<MessageRow> rows;
  for (int code : CodesOfAllTables()) {
    MessageRow row{code, {}};
    for (int t = 0; t < TableCount; ++t) row.Messages[t] = AnswerOf(TitledTables()[t].Table, code);
    rows.push_back(row);
  }
  return rows;
}
