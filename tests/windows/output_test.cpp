// The Windows msgcode's output under wine: byte for byte the host's on the
// worked examples, and run-time error 101 with its report when standard
// output cannot be written.
#include <gtest/gtest.h>

#include "tests/support/run_error_report.h"
#include "tests/windows/wine_test_support.h"

namespace {

ProcessResult RunWindowsMsgcode(const std::vector<std::string>& arguments,
                                OutputSink stdoutSink = OutputSink::Pipe,
                                OutputSink stderrSink = OutputSink::Pipe) {
  ProcessOptions options;
  options.Arguments = arguments;
  options.Stdout = stdoutSink;
  options.Stderr = stderrSink;
  return RunUnderWine("msgcode.exe", options);
}

TEST(WorkedExamples, MatchTheHostByteForByte) {
  SKIP_WITHOUT_WINDOWS_BUILD();
  const std::vector<std::vector<std::string>> examples = {{}, {"2"}, {"999"}, {"151"}, {"12x"}};
  for (const std::vector<std::string>& arguments : examples) {
    SCOPED_TRACE(arguments.empty() ? "no argument" : arguments[0]);
    const ProcessResult windows = RunWindowsMsgcode(arguments);
    const ProcessResult host = RunHostMsgcode(arguments);
    EXPECT_EQ(windows.ExitCode, host.ExitCode);
    EXPECT_EQ(windows.Stdout, host.Stdout);
    EXPECT_EQ(windows.Stderr, "");
  }
}

struct FailedOutput {
  const char* Name;
  OutputSink Sink;
  std::vector<std::string> Arguments;
};

class FailedStdout : public testing::TestWithParam<FailedOutput> {};

// The failing IoCheck is in the driver, whose only caller is the start-up
// routine: one caller line, and both addresses name their routines.
TEST_P(FailedStdout, EndsWithRunError101AndItsReport) {
  SKIP_WITHOUT_WINDOWS_BUILD();
  const ProcessResult run = RunWindowsMsgcode(GetParam().Arguments, GetParam().Sink);
  EXPECT_EQ(run.ExitCode, 101);
  const ParsedReport report = ParseRunErrorReport(run.Stderr);
  ASSERT_TRUE(report.WellFormed) << report.Problem << "\n" << run.Stderr;
  EXPECT_EQ(report.Number, 101u);
  ASSERT_EQ(report.Callers.size(), 1u) << run.Stderr;

  const std::string executable = WindowsProgram("msgcode.exe");
  EXPECT_EQ(RoutineAt(executable, report.Address), "LookupDriver");
  EXPECT_EQ(RoutineAt(executable, report.Callers[0]), "ProgramEntry");
}

INSTANTIATE_TEST_SUITE_P(
    Sinks, FailedStdout,
    testing::Values(FailedOutput{"LookupToFullDisk", OutputSink::DevFull, {"2"}},
                    FailedOutput{"UsageToFullDisk", OutputSink::DevFull, {}},
                    FailedOutput{"InvalidToFullDisk", OutputSink::DevFull, {"12x"}},
                    FailedOutput{"LookupToBrokenPipe", OutputSink::BrokenPipe, {"2"}}),
    [](const testing::TestParamInfo<FailedOutput>& info) { return std::string(info.param.Name); });

TEST(FailedOutput, BothStreamsFailingLeavesOnlyTheExitCode) {
  SKIP_WITHOUT_WINDOWS_BUILD();
  const ProcessResult run = RunWindowsMsgcode({"2"}, OutputSink::DevFull, OutputSink::DevFull);
  EXPECT_EQ(run.ExitCode, 101);
}

}  // namespace
