// Output that cannot be written: a full disk, a closed descriptor, a pipe
// whose reader has gone. msgcode ends with run-time error 101 and reports it
// on standard error, whatever path it was on.
#include <gtest/gtest.h>

#include "tests/support/process_runner.h"
#include "tests/support/run_error_report.h"

namespace {

struct FailedOutput {
  const char* Name;
  OutputSink Sink;
  std::vector<std::string> Arguments;
};

class FailedStdout : public testing::TestWithParam<FailedOutput> {};

TEST_P(FailedStdout, EndsWithRunError101AndItsReport) {
  const FailedOutput& failure = GetParam();
  ProcessOptions options;
  options.Arguments = failure.Arguments;
  options.Stdout = failure.Sink;
  const ProcessResult run = RunMsgcode(options);

  EXPECT_EQ(run.ExitCode, 101);
  EXPECT_EQ(run.TermSignal, 0);
  const ParsedReport report = ParseRunErrorReport(run.Stderr);
  ASSERT_TRUE(report.WellFormed) << report.Problem << "\n" << run.Stderr;
  EXPECT_EQ(report.Number, 101u);
  // The failing IoCheck is in the driver, whose only caller is the start-up
  // routine: exactly one caller line.
  ASSERT_EQ(report.Callers.size(), 1u) << run.Stderr;
  EXPECT_NE(report.Callers[0], report.Address);
}

const std::vector<std::string> LookupArguments = {"2"};
const std::vector<std::string> NoArguments = {};
const std::vector<std::string> InvalidArguments = {"12x"};

INSTANTIATE_TEST_SUITE_P(
    Sinks, FailedStdout,
    testing::Values(FailedOutput{"LookupToFullDisk", OutputSink::DevFull, LookupArguments},
                    FailedOutput{"LookupToClosedOutput", OutputSink::Closed, LookupArguments},
                    FailedOutput{"LookupToBrokenPipe", OutputSink::BrokenPipe, LookupArguments},
                    FailedOutput{"UsageToFullDisk", OutputSink::DevFull, NoArguments},
                    FailedOutput{"UsageToBrokenPipe", OutputSink::BrokenPipe, NoArguments},
                    FailedOutput{"InvalidToClosedOutput", OutputSink::Closed, InvalidArguments}),
    [](const testing::TestParamInfo<FailedOutput>& info) { return std::string(info.param.Name); });

TEST(FailedOutput, BothStreamsFailingLeavesOnlyTheExitCode) {
  const OutputSink sinks[] = {OutputSink::DevFull, OutputSink::Closed, OutputSink::BrokenPipe};
  for (OutputSink sink : sinks) {
    ProcessOptions options;
    options.Arguments = {"2"};
    options.Stdout = sink;
    options.Stderr = sink;
    const ProcessResult run = RunMsgcode(options);
    EXPECT_EQ(run.ExitCode, 101);
    EXPECT_EQ(run.TermSignal, 0);
  }
}

TEST(FailedOutput, ReportAddressesNameTheDriverAndTheStartUpRoutine) {
  if (!MsgcodeRunsNatively()) GTEST_SKIP() << "addresses are resolved on the native build";
  ProcessOptions options;
  options.Arguments = {"2"};
  options.Stdout = OutputSink::DevFull;
  const ProcessResult run = RunMsgcode(options);
  const ParsedReport report = ParseRunErrorReport(run.Stderr);
  ASSERT_TRUE(report.WellFormed) << report.Problem;
  ASSERT_EQ(report.Callers.size(), 1u);

  const std::string place = FunctionAt(MsgcodeExecutable(), report.Address);
  const std::string caller = FunctionAt(MsgcodeExecutable(), report.Callers[0]);
  if (place.empty()) SKIP_WITHOUT_TOOL("addr2line is not at hand");
  EXPECT_NE(place.find("LookupDriver"), std::string::npos) << place;
  EXPECT_NE(caller.find("ProgramEntry"), std::string::npos) << caller;
}

}  // namespace
