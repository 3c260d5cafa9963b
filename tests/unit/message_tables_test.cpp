// The four message tables against messages.tsv, a copy of the tables written
// out independently, and FindMessage over every 16-bit code.

#include <stdint.h>
#include <string.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "lookup/message_table.h"
#include "tests/support/short_string_text.h"

namespace {

using Entries = std::vector<std::pair<int, std::string>>;

// messages.tsv: a comment line, then lines of table, code and text separated
// by TABs.
const std::map<std::string, Entries>& Fixture() {
  static const std::map<std::string, Entries> tables = [] {
    std::map<std::string, Entries> read;
    std::ifstream file(MSGCODE_FIXTURES_DIR "/messages.tsv", std::ios::binary);
    EXPECT_TRUE(file.good()) << "cannot open messages.tsv";
    std::string line;
    while (std::getline(file, line)) {
      if (line.empty() || line[0] == '#') continue;
      const size_t tab1 = line.find('\t');
      const size_t tab2 = line.find('\t', tab1 + 1);
      if (tab1 == std::string::npos || tab2 == std::string::npos) {
        ADD_FAILURE() << "bad fixture line: " << line;
        continue;
      }
      read[line.substr(0, tab1)].emplace_back(std::stoi(line.substr(tab1 + 1, tab2 - tab1 - 1)),
                                              line.substr(tab2 + 1));
    }
    for (auto& [name, entries] : read) std::sort(entries.begin(), entries.end());
    return read;
  }();
  return tables;
}

struct TableCase {
  const char* Name;
  const MessageTable* Table;
  int32_t EntryCount;
  std::string Fallback;
  size_t ShortestText;
  size_t LongestText;
  std::vector<std::pair<int, int>> CodeRanges;  // the codes that have an entry
};

const std::vector<TableCase>& Tables() {
  static const std::vector<TableCase> tables = {
      {"tp55-compiler",
       &Tp55CompilerMessages,
       147,
       "\rCannot find a compiler ver. 5.5 error for this code",
       9,
       46,
       {{1, 107}, {112, 114}, {116, 118}, {120, 124}, {126, 144}, {146, 154}, {210, 210}}},
      {"tp60-compiler",
       &Tp60CompilerMessages,
       155,
       "\rCannot find a compiler ver. 6.0 error for this code",
       9,
       46,
       {{1, 107}, {112, 114}, {116, 118}, {120, 124}, {126, 162}}},
      {"tp55-runtime",
       &Tp55RuntimeMessages,
       40,
       "\rCannot find a runtime ver. 5.5 error for this code",
       12,
       34,
       {{1, 6}, {12, 12}, {15, 17}, {100, 106}, {150, 162}, {200, 209}}},
      {"tp60-runtime",
       &Tp60RuntimeMessages,
       43,
       "\rCannot find a runtime ver. 6.0 error for this code",
       12,
       34,
       {{1, 6}, {12, 12}, {15, 17}, {100, 106}, {150, 152}, {154, 154}, {156, 162}, {200, 214}}},
  };
  return tables;
}

TEST(MessageTablesTest, EachTableEqualsTheFixture) {
  for (const TableCase& t : Tables()) {
    SCOPED_TRACE(t.Name);
    const auto found = Fixture().find(t.Name);
    ASSERT_NE(found, Fixture().end()) << "table missing from the fixture";
    const Entries& expected = found->second;
    ASSERT_EQ(expected.size(), static_cast<size_t>(t.EntryCount)) << "the fixture itself";
    ASSERT_EQ(t.Table->EntryCount, t.EntryCount);
    for (int32_t i = 0; i < t.EntryCount; ++i) {
      SCOPED_TRACE("entry " + std::to_string(i));
      const MessageEntry& entry = t.Table->Entries[i];
      EXPECT_EQ(entry.Code, expected[static_cast<size_t>(i)].first);
      ASSERT_NE(entry.Text, nullptr);
      EXPECT_EQ(std::string(entry.Text), expected[static_cast<size_t>(i)].second);
    }
  }
}

TEST(MessageTablesTest, CodesAreSortedUniqueAndInTheirRanges) {
  for (const TableCase& t : Tables()) {
    SCOPED_TRACE(t.Name);
    std::vector<int> expectedCodes;
    for (const auto& [first, last] : t.CodeRanges) {
      for (int code = first; code <= last; ++code) expectedCodes.push_back(code);
    }
    ASSERT_EQ(expectedCodes.size(), static_cast<size_t>(t.EntryCount));
    std::vector<int> codes;
    codes.reserve(static_cast<size_t>(t.Table->EntryCount));
    for (int32_t i = 0; i < t.Table->EntryCount; ++i) codes.push_back(t.Table->Entries[i].Code);
    EXPECT_EQ(codes, expectedCodes);
    for (size_t i = 0; i < codes.size(); ++i) {
      EXPECT_GE(codes[i], 1);
      if (i > 0) {
        EXPECT_LT(codes[i - 1], codes[i]) << "at entry " << i;
      }
    }
  }
}

TEST(MessageTablesTest, TextsArePrintableAsciiOfTheStatedLengths) {
  for (const TableCase& t : Tables()) {
    SCOPED_TRACE(t.Name);
    for (int32_t i = 0; i < t.Table->EntryCount; ++i) {
      const std::string text = t.Table->Entries[i].Text;
      SCOPED_TRACE("code " + std::to_string(t.Table->Entries[i].Code) + ": " + text);
      EXPECT_GE(text.size(), t.ShortestText);
      EXPECT_LE(text.size(), t.LongestText);
      for (unsigned char byte : text) {
        EXPECT_TRUE(byte >= 0x20 && byte <= 0x7E) << "byte " << static_cast<int>(byte);
      }
    }
  }
}

TEST(MessageTablesTest, FallbackTexts) {
  for (const TableCase& t : Tables()) {
    SCOPED_TRACE(t.Name);
    ASSERT_NE(t.Table->FallbackText, nullptr);
    EXPECT_EQ(std::string(t.Table->FallbackText), t.Fallback);
    EXPECT_EQ(BytesOf(FindMessage(*t.Table, 0)), t.Fallback);
    EXPECT_EQ(FindMessage(*t.Table, 0).Bytes[0], '\r');
  }
  EXPECT_EQ(BytesOf(FindMessage(Tp55CompilerMessages, 0)).size(), 52u);
  EXPECT_EQ(BytesOf(FindMessage(Tp60CompilerMessages, 0)).size(), 52u);
  EXPECT_EQ(BytesOf(FindMessage(Tp55RuntimeMessages, 0)).size(), 51u);
  EXPECT_EQ(BytesOf(FindMessage(Tp60RuntimeMessages, 0)).size(), 51u);
}

TEST(MessageTablesTest, FindMessageAnswersEveryCode) {
  for (const TableCase& t : Tables()) {
    SCOPED_TRACE(t.Name);
    std::map<int, std::string> byCode(Fixture().at(t.Name).begin(), Fixture().at(t.Name).end());
    int mismatches = 0;
    for (int code = INT16_MIN; code <= INT16_MAX; ++code) {
      const auto entry = byCode.find(code);
      const std::string expected = entry != byCode.end() ? entry->second : t.Fallback;
      const std::string actual = BytesOf(FindMessage(*t.Table, static_cast<int16_t>(code)));
      if (actual != expected && ++mismatches <= 10) {
        ADD_FAILURE() << "code " << code << ": expected \"" << expected << "\", got \"" << actual
                      << "\"";
      }
    }
    EXPECT_EQ(mismatches, 0);
  }
}

struct LookupCase {
  const MessageTable* Table;
  int16_t Code;
  std::string Expected;
};

TEST(MessageTablesTest, CodesWhereTheVersionsDiffer) {
  const std::string c55 = "\rCannot find a compiler ver. 5.5 error for this code";
  const std::string c60 = "\rCannot find a compiler ver. 6.0 error for this code";
  const std::string r55 = "\rCannot find a runtime ver. 5.5 error for this code";
  const std::string r60 = "\rCannot find a runtime ver. 6.0 error for this code";
  const LookupCase cases[] = {
      {&Tp55CompilerMessages, 1, "Out of memory"},
      {&Tp60CompilerMessages, 1, "Out of memory"},
      {&Tp55CompilerMessages, 2, "Identifier expected"},
      {&Tp55CompilerMessages, 117, "Targe address not found"},
      {&Tp60CompilerMessages, 117, "Target address not found"},
      {&Tp60CompilerMessages, 83, "Invalid @@ argument"},
      {&Tp55CompilerMessages, 85, "\";\" expected"},
      {&Tp55CompilerMessages, 145, c55},
      {&Tp60CompilerMessages, 145, "Too many nested scopes"},
      {&Tp55CompilerMessages, 151, "Virtual constructors not allowed here"},
      {&Tp60CompilerMessages, 151, "Virtual constructors are not allowed"},
      {&Tp55CompilerMessages, 147, "Object type expected"},
      {&Tp60CompilerMessages, 147, "object type expected"},
      {&Tp55CompilerMessages, 155, c55},
      {&Tp60CompilerMessages, 155, "Invalid combination of opcode and operands"},
      {&Tp60CompilerMessages, 162, "ASM expected"},
      {&Tp60CompilerMessages, 163, c60},
      {&Tp55CompilerMessages, 210, "Object not initialized"},
      {&Tp60CompilerMessages, 210, c60},
      {&Tp55CompilerMessages, 211, c55},
      {&Tp55CompilerMessages, 108, c55},
      {&Tp60CompilerMessages, 125, c60},
      {&Tp55CompilerMessages, -1, c55},
      {&Tp60CompilerMessages, INT16_MIN, c60},
      {&Tp55RuntimeMessages, 2, "File not found"},
      {&Tp60RuntimeMessages, 2, "File not found"},
      {&Tp55RuntimeMessages, 151, "Unknown unit"},
      {&Tp60RuntimeMessages, 151, "Bad drive request struct length"},
      {&Tp55RuntimeMessages, 153, "Unknown command"},
      {&Tp60RuntimeMessages, 153, r60},
      {&Tp55RuntimeMessages, 155, "Bad drive request structure length"},
      {&Tp60RuntimeMessages, 155, r60},
      {&Tp55RuntimeMessages, 158, "Sector not found"},
      {&Tp60RuntimeMessages, 158, "Sector Not Found"},
      {&Tp55RuntimeMessages, 210, r55},
      {&Tp60RuntimeMessages, 210, "Object not initialized"},
      {&Tp60RuntimeMessages, 211, "Call to abstract method"},
      {&Tp60RuntimeMessages, 212, "Stream registration error"},
      {&Tp60RuntimeMessages, 213, "Collection index out of range"},
      {&Tp60RuntimeMessages, 214, "Collection overflow error"},
      {&Tp60RuntimeMessages, 215, r60},
      {&Tp55RuntimeMessages, 7, r55},
      {&Tp60RuntimeMessages, 199, r60},
      {&Tp55RuntimeMessages, 0, r55},
      {&Tp60RuntimeMessages, INT16_MAX, r60},
  };
  for (const LookupCase& c : cases) {
    SCOPED_TRACE("code " + std::to_string(c.Code) + ", expected " + c.Expected);
    EXPECT_EQ(BytesOf(FindMessage(*c.Table, c.Code)), c.Expected);
  }
}

}  // namespace
