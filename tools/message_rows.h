// The rows of the message reference: every code that at least one of the
// four message tables holds, with the answer of each table for it.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "lookup/message_table.h"

constexpr int TableCount = 4;

// A table with the title that the reference gives it.
struct TitledTable {
  const char* Title;
  const MessageTable& Table;
};

// The four tables in the order of msgcode's output lines.
const std::array<TitledTable, TableCount>& TitledTables();

struct MessageRow {
  int Code;
  // One answer per table, in the order of TitledTables(); none where the
  // table has no entry for the code and answers with its fallback text.
  std::array<std::optional<std::string>, TableCount> Messages;
};

// Every code of every table once, in ascending order.
std::vector<MessageRow> CollectMessageRows();
