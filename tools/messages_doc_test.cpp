// docs/messages.md is trustworthy: it lists every code of every table once,
// and for each code msgcode prints exactly the four messages it states.
#include <gtest/gtest.h>

#include <set>

#include "lookup/message_table.h"
#include "tests/support/process_runner.h"
#include "tools/messages_document.h"

namespace {

const MessagesDocument& Document() {
  static const MessagesDocument document = ReadMessagesDocument(MESSAGES_DOC);
  return document;
}

// The columns in the order of the reference and of msgcode's lines.
const MessageTable* const Tables[DocumentedTableCount] = {
    &Tp55CompilerMessages, &Tp60CompilerMessages, &Tp55RuntimeMessages, &Tp60RuntimeMessages};
const char* const Titles[DocumentedTableCount] = {"TP 5.5 compiler", "TP 6.0 compiler",
                                                  "TP 5.5 run-time", "TP 6.0 run-time"};
const char* const Headings[DocumentedTableCount] = {
    "TP 5.5 COMPILER ERROR ", "TP 6.0 COMPILER ERROR ", "TP 5.5 RUNTIME ERROR ",
    "TP 6.0 RUNTIME ERROR "};

// The five lines that msgcode prints for a code, as the reference tells them.
std::string ExpectedLookup(
    int code, const std::array<std::optional<std::string>, DocumentedTableCount>& messages) {
  std::string expected;
  for (int t = 0; t < DocumentedTableCount; ++t) {
    const std::string part = messages[t] ? *messages[t] : "\r" + Document().FallbackTexts[t];
    expected += Headings[t] + std::to_string(code) + ": " + part + "\r\n";
    if (t == 1) expected += std::string(51, '\xC4') + "\r\n";
  }
  return expected;
}

std::set<int> EntryCodes(const MessageTable& table) {
  std::set<int> codes;
  for (int32_t i = 0; i < table.EntryCount; ++i) codes.insert(table.Entries[i].Code);
  return codes;
}

std::set<int> DocumentedCodes(int column) {
  std::set<int> codes;
  for (const DocumentedRow& row : Document().Rows)
    if (row.Messages[column]) codes.insert(row.Code);
  return codes;
}

bool Mentions(const std::string& text, const std::string& word) {
  return text.find(word) != std::string::npos;
}

TEST(MessagesDoc, ColumnsAreTheFourTablesInTheOrderOfTheOutput) {
  for (int t = 0; t < DocumentedTableCount; ++t) EXPECT_EQ(Document().Titles[t], Titles[t]);
}

TEST(MessagesDoc, ListsEachCodeOnceInAscendingOrder) {
  const auto& rows = Document().Rows;
  ASSERT_FALSE(rows.empty());
  for (size_t i = 1; i < rows.size(); ++i)
    EXPECT_LT(rows[i - 1].Code, rows[i].Code) << "row " << i + 1;
}

TEST(MessagesDoc, ListsEveryCodeOfEveryTableAndNoOther) {
  for (int t = 0; t < DocumentedTableCount; ++t)
    EXPECT_EQ(DocumentedCodes(t), EntryCodes(*Tables[t])) << Titles[t];
  for (const DocumentedRow& row : Document().Rows) {
    bool held = false;
    for (const auto& message : row.Messages) held = held || message.has_value();
    EXPECT_TRUE(held) << "code " << row.Code << " is in no table";
  }
}

TEST(MessagesDoc, EntryCountsAreThoseOfTheTables) {
  for (int t = 0; t < DocumentedTableCount; ++t) {
    EXPECT_EQ(Document().EntryCounts[t], Tables[t]->EntryCount) << Titles[t];
    EXPECT_EQ(static_cast<size_t>(Document().EntryCounts[t]), DocumentedCodes(t).size())
        << Titles[t];
  }
}

TEST(MessagesDoc, MsgcodePrintsTheFourMessagesOfEveryRow) {
  for (const DocumentedRow& row : Document().Rows) {
    const ProcessResult run = RunMsgcode({std::to_string(row.Code)});
    EXPECT_EQ(run.ExitCode, 0) << "msgcode " << row.Code;
    EXPECT_EQ(run.Stdout, ExpectedLookup(row.Code, row.Messages)) << "msgcode " << row.Code;
  }
}

TEST(MessagesDoc, MsgcodePrintsTheFallbackTextsForACodeNoTableHolds) {
  const ProcessResult run = RunMsgcode({"0"});
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Stdout, ExpectedLookup(0, {}));
}

TEST(MessagesDoc, MarksExactlyTheDifferencesBetween55And60) {
  for (const DocumentedRow& row : Document().Rows) {
    const bool compilerDiffers = row.Messages[0] != row.Messages[1];
    const bool runtimeDiffers = row.Messages[2] != row.Messages[3];
    EXPECT_EQ(Mentions(row.Changes, "compiler"), compilerDiffers)
        << "code " << row.Code << ": " << row.Changes;
    EXPECT_EQ(Mentions(row.Changes, "run-time"), runtimeDiffers)
        << "code " << row.Code << ": " << row.Changes;
  }
}

}  // namespace
