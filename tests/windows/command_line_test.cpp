// The command line of the Windows msgcode, end to end: msgcode_launch hands
// an exact command-line text to CreateProcessA, msgcode splits it, and its
// output shows what it took for the first argument. That output must be
// the host msgcode's output for the argument the splitting rules give.
#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "tests/windows/wine_test_support.h"

namespace {

struct CommandLineCase {
  const char* Name;
  std::string CommandLine;
  // The first argument by the rules; none when only the program's name is
  // there. A command line without any token reads as an empty argument.
  std::optional<std::string> FirstArgument;
};

void ExpectSameAsHost(const std::string& commandLine, const std::optional<std::string>& first) {
  const ProcessResult windows = LaunchWithCommandLine(commandLine);
  const ProcessResult host =
      first ? RunHostMsgcode({*first}) : RunHostMsgcode(std::vector<std::string>{});
  EXPECT_EQ(windows.ExitCode, host.ExitCode);
  EXPECT_EQ(windows.Stdout, host.Stdout);
  EXPECT_EQ(windows.Stderr, "");
}

class CommandLines : public testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLines, ReachTheArgumentListByTheRules) {
  SKIP_WITHOUT_WINDOWS_BUILD();
  ExpectSameAsHost(GetParam().CommandLine, GetParam().FirstArgument);
}

const std::string Tab = "\t";

INSTANTIATE_TEST_SUITE_P(
    SplittingTable, CommandLines,
    testing::Values(CommandLineCase{"OneArgument", "MSGCODE 42", "42"},
                    CommandLineCase{"ProgramNameOnly", "MSGCODE", std::nullopt},
                    CommandLineCase{"BlanksAround", "MSGCODE    42   ", "42"},
                    CommandLineCase{"TabSeparates", "MSGCODE" + Tab + "42", "42"},
                    CommandLineCase{"QuotedProgramPath", "\"C:\\My Tools\\MSGCODE.exe\" 42", "42"},
                    CommandLineCase{"TwoArguments", "MSGCODE 4 2", "4"},
                    CommandLineCase{"QuotedBlankInFront", "MSGCODE \" 42\"", " 42"},
                    CommandLineCase{"QuotingInsideToken", "MSGCODE 4\"2 3\"", "42 3"},
                    CommandLineCase{"EmptyQuotes", "MSGCODE \"\"", ""},
                    CommandLineCase{"DoubledQuoteInside", "MSGCODE 4\"\"2", "42"},
                    CommandLineCase{"DoubledQuoteInQuotes", "MSGCODE \"4\"\"2\"", "42"},
                    CommandLineCase{"FourQuotes", "MSGCODE \"\"\"\"", ""},
                    CommandLineCase{"ThreeQuotes", "MSGCODE \"\"\"", ""},
                    CommandLineCase{"QuoteNeverClosed", "MSGCODE \"4 2", "4 2"},
                    CommandLineCase{"BackslashIsNoEscape", "MSGCODE a\\\"b c\"", "a\\b c"},
                    CommandLineCase{"EmptyThenNumber", "MSGCODE \"\" 5", ""}),
    [](const testing::TestParamInfo<CommandLineCase>& info) {
      return std::string(info.param.Name);
    });

// Cases whose output tells the argument apart from its near misses: a
// blank kept or lost, a quote taken as a byte, a separator not taken.
INSTANTIATE_TEST_SUITE_P(
    MoreCases, CommandLines,
    testing::Values(
        // No token at all. (An empty command line cannot be had here: wine
        // puts the program's name in its place.)
        CommandLineCase{"SeparatorsOnly", " \t ", ""},
        CommandLineCase{"QuotedBlankBehind", "MSGCODE \"42 \"", "42 "},
        CommandLineCase{"QuotedTabBehind", "MSGCODE \"42\t\"", "42\t"},
        CommandLineCase{"ControlBytesSeparate",
                        "MSGCODE\x01\x1f"
                        "42\x02",
                        "42"},
        CommandLineCase{"QuotedControlByte",
                        "MSGCODE \"4\x01"
                        "2\"",
                        "4\x01"
                        "2"},
        CommandLineCase{"Byte127IsNoSeparator", "MSGCODE 42\x7f", "42\x7f"},
        CommandLineCase{"HighBytesPassUnchanged", "MSGCODE 4\xc4\xff", "4\xc4\xff"},
        CommandLineCase{"QuoteOnlyToken", "MSGCODE \"", ""},
        CommandLineCase{"HexadecimalInQuotes", "MSGCODE \"$\"D2", "$D2"},
        CommandLineCase{"FirstTokenQuotedOpen", "\"MSGCODE 42", std::nullopt},
        CommandLineCase{"LongArgumentIsCut", "MSGCODE " + std::string(300, '7'),
                        std::string(300, '7')}),
    [](const testing::TestParamInfo<CommandLineCase>& info) {
      return std::string(info.param.Name);
    });

// The splitting rules, written from their description: the model that the
// random command lines are checked against.
std::vector<std::string> SplitByTheRules(const std::string& text) {
  std::vector<std::string> tokens;
  size_t i = 0;
  auto separates = [](unsigned char byte) { return byte >= 1 && byte <= 32; };
  for (;;) {
    while (i < text.size() && separates(text[i])) ++i;
    if (i == text.size()) return tokens;
    std::string token;
    bool quoted = false;
    while (i < text.size() && (quoted || !separates(text[i]))) {
      if (text[i] == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        i += 2;
      } else if (text[i] == '"') {
        quoted = !quoted;
        ++i;
      } else {
        token += text[i++];
      }
    }
    tokens.push_back(token);
  }
}

TEST(RandomCommandLines, ReachTheArgumentListByTheRules) {
  SKIP_WITHOUT_WINDOWS_BUILD();
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  // Few bytes, so that quotes, separators and digits meet often. Never
  // empty: wine puts the program's name in place of an empty command line.
  const std::string alphabet = "\"\"\"  \t12$x\\-";
  std::uniform_int_distribution<size_t> length(1, 14);
  std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
  for (int run = 0; run < 60; ++run) {
    std::string commandLine;
    for (size_t n = length(random); n > 0; --n) commandLine += alphabet[pick(random)];
    const std::vector<std::string> tokens = SplitByTheRules(commandLine);
    std::optional<std::string> first;
    if (tokens.empty())
      first = "";
    else if (tokens.size() > 1)
      first = tokens[1];
    SCOPED_TRACE("command line [" + commandLine + "]");
    ExpectSameAsHost(commandLine, first);
  }
}

}  // namespace
