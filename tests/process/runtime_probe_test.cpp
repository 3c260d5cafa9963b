// The run-time's endings that msgcode cannot be driven into from outside,
// provoked by the test-only probe program.
#include <unistd.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/process_runner.h"
#include "tests/support/run_error_report.h"

namespace {

ProcessResult RunProbe(const std::string& scenario) {
  ProcessOptions options;
  options.Arguments = {scenario};
  return RunProcess(RUNTIME_PROBE_EXE, options);
}

struct FaultCase {
  const char* Scenario;
  unsigned Number;
  const char* Function;  // where addr2line must place the error
};

class Faults : public testing::TestWithParam<FaultCase> {};

TEST_P(Faults, EndAsRunErrorsWithAReport) {
  const FaultCase& fault = GetParam();
  const ProcessResult run = RunProbe(fault.Scenario);
  EXPECT_EQ(run.TermSignal, 0) << "the fault must not kill the process";
  EXPECT_EQ(run.ExitCode, static_cast<int>(fault.Number));
  const ParsedReport report = ParseRunErrorReport(run.Stderr);
  ASSERT_TRUE(report.WellFormed) << report.Problem << "\n" << run.Stderr;
  EXPECT_EQ(report.Number, fault.Number);
  EXPECT_GE(report.Callers.size(), 1u);
  EXPECT_LE(report.Callers.size(), 9u);

  const std::string function = FunctionAt(RUNTIME_PROBE_EXE, report.Address);
  if (function.empty()) SKIP_WITHOUT_TOOL("addr2line is not at hand");
  EXPECT_NE(function.find(fault.Function), std::string::npos) << function;
}

INSTANTIATE_TEST_SUITE_P(
    Probe, Faults,
    testing::Values(FaultCase{"access-violation", 216, "AccessViolation"},
                    FaultCase{"illegal-instruction", 216, "IllegalInstruction"},
                    FaultCase{"divide-by-zero", 200, "IntegerDivideByZero"},
                    FaultCase{"float-divide-by-zero", 200, "FloatDivideByZero"},
                    FaultCase{"stack-overflow", 202, "Recurse"}),
    [](const testing::TestParamInfo<FaultCase>& info) {
      std::string name;
      for (const char* c = info.param.Scenario; *c != '\0'; ++c)
        if (*c != '-') name += *c;
      return name;
    });

// A call through a null code pointer faults at address 0, and that error
// too gets its report.
TEST(Probe, FaultAtAddressZeroIsReported) {
  const ProcessResult run = RunProbe("call-null");
  EXPECT_EQ(run.ExitCode, 216);
  const ParsedReport report = ParseRunErrorReport(run.Stderr);
  ASSERT_TRUE(report.WellFormed) << report.Problem << "\n" << run.Stderr;
  EXPECT_EQ(report.Address, "00000000");
}

TEST(Probe, CallerLinesFollowTheChain) {
  const ProcessResult run = RunProbe("chain-3");
  EXPECT_EQ(run.ExitCode, 42);
  const ParsedReport report = ParseRunErrorReport(run.Stderr);
  ASSERT_TRUE(report.WellFormed) << report.Problem << "\n" << run.Stderr;
  // Chain(0) raises; its callers are Chain(1..3), the driver and the
  // start-up routine.
  const std::vector<const char*> expected = {"Chain", "Chain", "Chain", "ProbeDriver",
                                             "ProgramEntry"};
  ASSERT_EQ(report.Callers.size(), expected.size()) << run.Stderr;
  if (FunctionAt(RUNTIME_PROBE_EXE, report.Address).empty())
    SKIP_WITHOUT_TOOL("addr2line is not at hand");
  EXPECT_NE(FunctionAt(RUNTIME_PROBE_EXE, report.Address).find("Chain"), std::string::npos);
  // A caller line holds a return address, which can already belong to what
  // the compiler placed after the call (an inlined routine, say); the call
  // instruction itself ends one byte before it.
  for (size_t i = 0; i < expected.size(); ++i) {
    char callAddress[17];
    snprintf(callAddress, sizeof callAddress, "%08llX",
             std::stoull(report.Callers[i], nullptr, 16) - 1);
    EXPECT_NE(FunctionAt(RUNTIME_PROBE_EXE, callAddress).find(expected[i]), std::string::npos)
        << "caller line " << i + 1;
  }
}

TEST(Probe, DeepChainStopsAfterNineCallerLines) {
  const ProcessResult run = RunProbe("chain-20");
  EXPECT_EQ(run.ExitCode, 42);
  const ParsedReport report = ParseRunErrorReport(run.Stderr);
  ASSERT_TRUE(report.WellFormed) << report.Problem << "\n" << run.Stderr;
  EXPECT_EQ(report.Callers.size(), 9u);
}

TEST(Probe, HeapExhaustedWhileSplittingArguments) {
  const ProcessResult run = RunProbe("heap-exhausted");
  EXPECT_EQ(run.ExitCode, 203);
  const ParsedReport report = ParseRunErrorReport(run.Stderr);
  ASSERT_TRUE(report.WellFormed) << report.Problem << "\n" << run.Stderr;
  EXPECT_EQ(report.Number, 203u);
}

// A second fault while the program is already ending must neither loop nor
// kill it: the first error keeps its number, and a fault during a normal end
// does not pass for success.
TEST(Probe, FaultDuringExitEndsAtOnce) {
  const std::pair<const char*, int> cases[] = {
      {"fault-in-report", 42},         // a run-time error's report faults
      {"fault-in-fault-report", 200},  // a fault's report faults in turn
      {"fault-at-normal-end", 216},    // the final flush of a normal end faults
  };
  for (const auto& [scenario, exitCode] : cases) {
    SCOPED_TRACE(scenario);
    const ProcessResult run = RunProbe(scenario);
    EXPECT_EQ(run.TermSignal, 0);
    EXPECT_EQ(run.ExitCode, exitCode);
  }
}

TEST(Probe, NormalEndWritesNothingToStandardError) {
  const ProcessResult run = RunProbe("nothing");
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Stderr, "");
  EXPECT_EQ(run.Stdout, "");
}

// Argument 0 is a full path to the executable however it was started: the
// path it was started by when that is a full one, a link included, and the
// executable's own path when it was started by a relative one.
TEST(Probe, ArgumentZeroIsAFullPathToTheExecutable) {
  namespace fs = std::filesystem;
  const fs::path probe = fs::canonical(RUNTIME_PROBE_EXE);
  const fs::path link = fs::temp_directory_path() / ("msgcode-probe-" + std::to_string(getpid()));
  fs::create_symlink(probe, link);
  const std::pair<std::string, std::string> cases[] = {
      {probe.string(), probe.string()},
      {fs::relative(probe).string(), probe.string()},
      {link.string(), link.string()},
  };
  for (const auto& [startedBy, expected] : cases) {
    SCOPED_TRACE("started by " + startedBy);
    ProcessOptions options;
    options.Arguments = {"argument-0"};
    const ProcessResult run = RunProcess(startedBy, options);
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Stdout, expected);
  }
  fs::remove(link);
}

}  // namespace
