// msgcode's three paths, byte for byte, with their exit codes. Standard
// error stays empty on all of them.
#include <gtest/gtest.h>

#include "tests/support/message_model.h"
#include "tests/support/process_runner.h"

namespace {

TEST(Paths, NoArgumentShowsBannerAndUsage) {
  const ProcessResult run = RunMsgcode(std::vector<std::string>{});
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Stderr, "");

  const std::string& out = run.Stdout;
  const std::string bannerStart = "\r\nMSGCODE v2.01 * ";
  ASSERT_EQ(out.compare(0, bannerStart.size(), bannerStart), 0) << out;
  const size_t bannerEnd = out.find("\r\n", bannerStart.size());
  ASSERT_NE(bannerEnd, std::string::npos);
  const std::string banner = out.substr(2, bannerEnd - 2);
  EXPECT_NE(banner.find("-2018"), std::string::npos)
      << "the notice's years end with the release year";
  EXPECT_LE(banner.size(), 255u);
  EXPECT_EQ(out.substr(bannerEnd),
            "\r\n"
            "\r\n"
            "Usage: MSGCODE [<error code>]\r\n"
            "       Display Turbo Pascal 5.5/6.0 error message for <error code>\r\n"
            "       (Both compiler and run-time error messages are displayed)\r\n");
}

struct WorkedExample {
  const char* Argument;
  const char* Fixture;
  int ExitCode;
};

class WorkedExamples : public testing::TestWithParam<WorkedExample> {};

TEST_P(WorkedExamples, OutputIsByteExact) {
  const WorkedExample& example = GetParam();
  const ProcessResult run = RunMsgcode({example.Argument});
  EXPECT_EQ(run.Stdout, ReadFixture(example.Fixture));
  EXPECT_EQ(run.ExitCode, example.ExitCode);
  EXPECT_EQ(run.Stderr, "");
}

INSTANTIATE_TEST_SUITE_P(Paths, WorkedExamples,
                         testing::Values(WorkedExample{"2", "lookup-2.out", 0},
                                         WorkedExample{"999", "lookup-999.out", 0},
                                         WorkedExample{"151", "lookup-151.out", 0},
                                         WorkedExample{"12x", "invalid-12x.out", 2}),
                         [](const testing::TestParamInfo<WorkedExample>& info) {
                           return std::string("Argument") + info.param.Argument;
                         });

// Every code from -40 to 300 and the ones that wrap around in 16 bits.
TEST(Paths, EveryCodeGivesTheTablesMessages) {
  std::vector<std::pair<std::string, int16_t>> cases;
  for (int code = -40; code <= 300; ++code)
    cases.push_back({std::to_string(code), static_cast<int16_t>(code)});
  const std::pair<const char*, int16_t> wrapped[] = {
      {"65538", 2},       {"32768", -32768},  {"40000", -25536}, {"65535", -1},  {"2147483647", -1},
      {"-65535", 1},      {"-32768", -32768}, {"$D2", 210},      {"-$FFFF", 1},  {"$FFFF", -1},
      {"%11010010", 210}, {"&322", 210},      {"  +0x97", 151},  {"\t151", 151}, {"000151", 151},
  };
  for (const auto& [argument, code] : wrapped) cases.push_back({argument, code});

  for (const auto& [argument, code] : cases) {
    SCOPED_TRACE("argument " + argument);
    const ProcessResult run = RunMsgcode({argument});
    ASSERT_EQ(run.Stdout, ExpectedLookupOutput(code));
    ASSERT_EQ(run.ExitCode, 0);
    ASSERT_EQ(run.Stderr, "");
  }
}

struct InvalidArgument {
  std::string Argument;
  int Position;
};

TEST(Paths, InvalidArgumentsNameThePosition) {
  const InvalidArgument cases[] = {
      {"12x", 3},
      {"abc", 1},
      {"", 1},
      {"2147483648", 10},
      {"-2147483649", 11},
      {"$100000000", 10},
      {"42 ", 3},
      {std::string(300, '1'), 11},  // 1111111111 still fits; the 11th digit overflows
      {std::string(255, ' '), 256},
      {std::string(300, ' '), 256},
      {"12\x7f", 3},
      {"1\x80", 2},
      {"   \xff", 4},
  };
  for (const InvalidArgument& invalid : cases) {
    SCOPED_TRACE("argument of " + std::to_string(invalid.Argument.size()) +
                 " bytes: " + invalid.Argument);
    const ProcessResult run = RunMsgcode({invalid.Argument});
    EXPECT_EQ(run.Stdout, ExpectedInvalidOutput(invalid.Position));
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Stderr, "");
  }
}

TEST(Paths, OnlyTheFirstArgumentCounts) {
  const ProcessResult lookup = RunMsgcode({"2", "abc"});
  EXPECT_EQ(lookup.Stdout, ReadFixture("lookup-2.out"));
  EXPECT_EQ(lookup.ExitCode, 0);

  const ProcessResult invalid = RunMsgcode({"12x", "2"});
  EXPECT_EQ(invalid.Stdout, ReadFixture("invalid-12x.out"));
  EXPECT_EQ(invalid.ExitCode, 2);
}

TEST(Paths, EmptyArgumentVectorShowsUsage) {
  if (!MsgcodeRunsNatively()) GTEST_SKIP() << "needs a native start";
  ProcessOptions options;
  options.EmptyArgumentVector = true;
  const ProcessResult run = RunMsgcode(options);
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_NE(run.Stdout.find("Usage: MSGCODE [<error code>]\r\n"), std::string::npos);
}

}  // namespace
