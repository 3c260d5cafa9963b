// The argument list: splitting a command-line text, the executable's path as
// entry 0, the end marker, and ParamCount and ParamStr over what was built.

#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/args/argument_list.h"
#include "tests/support/short_string_text.h"

namespace {

const char* const ModulePath = "C:\\Tools\\MSGCODE.EXE";

class ArgumentListTest : public ::testing::Test {
 protected:
  void TearDown() override { Release(); }

  // Each build replaces the list of the one before; each list is released once.
  void FromLine(const char* path, const std::string& commandLine) {
    Release();
    BuildArgumentListFromCommandLine(path, commandLine.c_str());
    built_ = true;
  }
  void FromVector(const char* path, int32_t count, const char* const* vector) {
    Release();
    BuildArgumentListFromVector(path, count, vector);
    built_ = true;
  }
  void Release() {
    if (built_) ReleaseArgumentList();
    built_ = false;
  }

  // The whole list as built: ArgumentCount entries, then the end marker.
  static void ExpectList(const std::string& path, const std::vector<std::string>& arguments) {
    const int32_t count = static_cast<int32_t>(arguments.size()) + 1;
    ASSERT_EQ(ArgumentCount, count);
    ASSERT_NE(ArgumentList, nullptr);
    ASSERT_NE(ArgumentList[0], nullptr);
    EXPECT_EQ(std::string(ArgumentList[0]), path);
    for (int32_t i = 1; i < count; ++i) {
      SCOPED_TRACE("entry " + std::to_string(i));
      ASSERT_NE(ArgumentList[i], nullptr);
      EXPECT_EQ(std::string(ArgumentList[i]), arguments[static_cast<size_t>(i - 1)]);
    }
    EXPECT_EQ(ArgumentList[count], nullptr);
  }

  // What the lookup sees of it.
  static void ExpectParams(const std::string& path, const std::vector<std::string>& arguments) {
    const int32_t count = static_cast<int32_t>(arguments.size()) + 1;
    EXPECT_EQ(ParamCount(), count - 1);
    EXPECT_EQ(BytesOf(ParamStr(0)), path);
    for (int32_t i = 1; i < count; ++i) {
      SCOPED_TRACE("ParamStr(" + std::to_string(i) + ")");
      EXPECT_EQ(BytesOf(ParamStr(i)), arguments[static_cast<size_t>(i - 1)]);
    }
    EXPECT_EQ(BytesOf(ParamStr(count)), "");
    EXPECT_EQ(BytesOf(ParamStr(-1)), "");
  }

  // Nothing at all: not even the executable's path.
  static void ExpectNoToken() {
    EXPECT_EQ(ArgumentCount, 0);
    ASSERT_NE(ArgumentList, nullptr);
    EXPECT_EQ(ArgumentList[0], nullptr);
    EXPECT_EQ(ParamCount(), -1);
    for (int32_t index : {INT32_MIN, -1, 0, 1, 2, INT32_MAX}) {
      SCOPED_TRACE("ParamStr(" + std::to_string(index) + ")");
      EXPECT_EQ(ParamStr(index).Length, 0);
    }
  }

 private:
  bool built_ = false;
};

struct SplitCase {
  std::string CommandLine;
  std::vector<std::string> Arguments;  // after the program's name
};

TEST_F(ArgumentListTest, SplitsTheCommandLine) {
  const SplitCase cases[] = {
      {"MSGCODE 42", {"42"}},
      {"MSGCODE", {}},
      {"MSGCODE    42   ", {"42"}},
      {"MSGCODE\t42", {"42"}},
      {"\"C:\\My Tools\\MSGCODE.exe\" 42", {"42"}},
      {"MSGCODE 4 2", {"4", "2"}},
      {"MSGCODE \" 42\"", {" 42"}},
      {"MSGCODE 4\"2 3\"", {"42 3"}},
      {"MSGCODE \"\"", {""}},
      {"MSGCODE 4\"\"2", {"42"}},
      {"MSGCODE \"4\"\"2\"", {"42"}},
      {"MSGCODE \"\"\"\"", {""}},
      {"MSGCODE \"\"\"", {""}},
      {"MSGCODE \"4 2", {"4 2"}},
      {"MSGCODE a\\\"b c\"", {"a\\b c"}},
      {"MSGCODE \"\" 5", {"", "5"}},
      // Beyond those.
      {"   MSGCODE 42", {"42"}},
      {"\"\" 42", {"42"}},   // an empty program name is still the first token
      {"\"MSGCODE 42", {}},  // the open quote swallows the whole line
      {"\"MY\"PROG\" 42\"", {}},
      {"MSGCODE a\"\"\"b c\"", {"ab c"}},      // a doubled quote, then a single one
      {"MSGCODE \"a b\"c\" d\"", {"a bc d"}},  // quoting on and off within one argument
      {"MSGCODE \"\"\"\"\"\"", {""}},
      {"MSGCODE a\"\" \"\"b", {"a", "b"}},
      {"MSGCODE \"\"\"\" 1", {"", "1"}},
      {"MSGCODE C:\\dir\\ x\\\\", {"C:\\dir\\", "x\\\\"}},
      {"MSGCODE 1\r\n2\r\n", {"1", "2"}},
      {"MSGCODE \"1\r\n2\"", {"1\r\n2"}},
      {"MSGCODE !#$%&'()*+,-./:;<=>?@[]^_`{|}~", {"!#$%&'()*+,-./:;<=>?@[]^_`{|}~"}},
      {"MSGCODE 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17",
       {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "16",
        "17"}},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE("command line " + ShowBytes(c.CommandLine));
    FromLine(ModulePath, c.CommandLine);
    ExpectList(ModulePath, c.Arguments);
    ExpectParams(ModulePath, c.Arguments);
  }
}

TEST_F(ArgumentListTest, CommandLineWithoutAnyToken) {
  const std::string lines[] = {"", " ", "\t\t", " \t\r\n\x01\x1F ", std::string(300, ' ')};
  for (const std::string& line : lines) {
    SCOPED_TRACE("command line " + ShowBytes(line));
    FromLine(ModulePath, line);
    ExpectNoToken();
  }
}

TEST_F(ArgumentListTest, EveryByteFromOneTo32Separates) {
  for (int byte = 1; byte <= 32; ++byte) {
    SCOPED_TRACE("byte " + std::to_string(byte));
    const std::string b(1, static_cast<char>(byte));
    const std::string line = b + "MSGCODE" + b + "x" + b + b + "y" + b;
    FromLine(ModulePath, line);
    ExpectList(ModulePath, {"x", "y"});

    // Inside quotes it belongs to the argument.
    const std::string quoted = "MSGCODE \"x" + b + "y\"";
    FromLine(ModulePath, quoted);
    ExpectList(ModulePath, {"x" + b + "y"});
  }
}

TEST_F(ArgumentListTest, BytesFrom127UpPassUnchanged) {
  for (int byte = 127; byte <= 255; ++byte) {
    SCOPED_TRACE("byte " + std::to_string(byte));
    const std::string b(1, static_cast<char>(byte));
    const std::string line = "MSGCODE a" + b + "b " + b + " " + b + b;
    FromLine(ModulePath, line);
    ExpectList(ModulePath, {"a" + b + "b", b, b + b});
    ExpectParams(ModulePath, {"a" + b + "b", b, b + b});
  }
}

TEST_F(ArgumentListTest, ParamStrCutsALongArgumentTo255Bytes) {
  std::string argument;
  for (int i = 0; i < 300; ++i) argument += static_cast<char>('a' + i % 26);
  FromLine(ModulePath, "MSGCODE " + argument + " 2");

  ExpectList(ModulePath, {argument, "2"});  // the entry itself is kept whole
  EXPECT_EQ(ParamCount(), 2);
  EXPECT_EQ(BytesOf(ParamStr(1)), argument.substr(0, 255));
  EXPECT_EQ(BytesOf(ParamStr(2)), "2");
}

TEST_F(ArgumentListTest, ArgumentOfExactly255Bytes) {
  const std::string argument(255, '7');
  FromLine(ModulePath, "MSGCODE " + argument);
  EXPECT_EQ(BytesOf(ParamStr(1)), argument);
}

TEST_F(ArgumentListTest, EntryZeroIsTheModulePath) {
  // Whatever the first token says.
  FromLine(ModulePath, "other.exe 1");
  EXPECT_EQ(BytesOf(ParamStr(0)), ModulePath);

  // A path that could not be read is empty; the arguments stay.
  FromLine("", "MSGCODE 1");
  ExpectList("", {"1"});
  ExpectParams("", {"1"});
}

TEST_F(ArgumentListTest, LongModulePathIsKeptWholeAndCutByParamStr) {
  std::string path = "C:\\";
  while (path.size() < 260) path += static_cast<char>('A' + path.size() % 26);
  ASSERT_EQ(path.size(), 260u);
  FromLine(path.c_str(), "MSGCODE 5");

  ExpectList(path, {"5"});
  EXPECT_EQ(strlen(ArgumentList[0]), 260u);
  EXPECT_EQ(BytesOf(ParamStr(0)), path.substr(0, 255));
  EXPECT_EQ(BytesOf(ParamStr(1)), "5");
}

TEST_F(ArgumentListTest, IndexesOutOfRangeGiveTheEmptyText) {
  FromLine(ModulePath, "MSGCODE 1 2");
  ASSERT_EQ(ArgumentCount, 3);
  for (int32_t index : {INT32_MIN, -2, -1, 3, 4, 100, INT32_MAX}) {
    SCOPED_TRACE("ParamStr(" + std::to_string(index) + ")");
    EXPECT_EQ(ParamStr(index).Length, 0);
  }
}

// --- Built from an argument vector ---------------------------------------------

TEST_F(ArgumentListTest, VectorOfLengthZeroGivesNoEntry) {
  FromVector(ModulePath, 0, nullptr);
  ExpectNoToken();
}

TEST_F(ArgumentListTest, VectorWithTheProgramNameOnly) {
  const char* const vector[] = {"msgcode"};
  FromVector(ModulePath, 1, vector);
  ExpectList(ModulePath, {});
  ExpectParams(ModulePath, {});
}

TEST_F(ArgumentListTest, VectorEntriesAfterTheFirstAreTheArguments) {
  // The vector is already split: its entries are taken as they are.
  const char* const vector[] = {"msgcode", "42", "a b", "", "\"q\"", "\xC4\x7F"};
  FromVector(ModulePath, 6, vector);
  ExpectList(ModulePath, {"42", "a b", "", "\"q\"", "\xC4\x7F"});
  ExpectParams(ModulePath, {"42", "a b", "", "\"q\"", "\xC4\x7F"});
}

TEST_F(ArgumentListTest, VectorWithManyEntries) {
  std::vector<std::string> arguments;
  std::vector<const char*> vector = {"msgcode"};
  for (int i = 1; i <= 20; ++i) arguments.push_back(std::to_string(i * 7));
  for (const std::string& argument : arguments) vector.push_back(argument.c_str());
  FromVector(ModulePath, static_cast<int32_t>(vector.size()), vector.data());
  ExpectList(ModulePath, arguments);
  ExpectParams(ModulePath, arguments);
}

TEST_F(ArgumentListTest, VectorArgumentIsCutTo255ByParamStr) {
  const std::string argument(300, 'v');
  const char* const vector[] = {"msgcode", argument.c_str()};
  FromVector(ModulePath, 2, vector);
  ExpectList(ModulePath, {argument});
  EXPECT_EQ(BytesOf(ParamStr(1)), argument.substr(0, 255));
}

}  // namespace
