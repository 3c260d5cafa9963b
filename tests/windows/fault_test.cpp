// Processor faults in the Windows build: the unhandled-exception filter
// hands each to the run-time, which ends the program with the fault's
// run-time error and a report whose addresses name the places.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/run_error_report.h"
#include "tests/windows/wine_test_support.h"

namespace {

const char* const Probe = "tests/windows/msgcode_fault_probe.exe";

ProcessResult RunProbe(const std::vector<std::string>& arguments) {
  ProcessOptions options;
  options.Arguments = arguments;
  return RunUnderWine(Probe, options);
}

struct FaultCase {
  const char* Scenario;
  unsigned Number;
  const char* Routine;  // where addr2line must place the fault
};

class Faults : public testing::TestWithParam<FaultCase> {};

TEST_P(Faults, EndAsRunErrorsReportedAlongTheFrameChain) {
  SKIP_WITHOUT_WINDOWS_BUILD();
  const FaultCase& fault = GetParam();
  const ProcessResult run = RunProbe({fault.Scenario});
  EXPECT_EQ(run.ExitCode, static_cast<int>(fault.Number));
  const ParsedReport report = ParseRunErrorReport(run.Stderr);
  ASSERT_TRUE(report.WellFormed) << report.Problem << "\n" << run.Stderr;
  EXPECT_EQ(report.Number, fault.Number);

  const std::string probe = WindowsProgram(Probe);
  EXPECT_EQ(RoutineAt(probe, report.Address), fault.Routine);
  const std::vector<std::string> callers = {"FaultingRoutine", "Caller", "FaultProbeDriver",
                                            "ProgramEntry"};
  ASSERT_EQ(report.Callers.size(), callers.size()) << run.Stderr;
  for (size_t i = 0; i < callers.size(); ++i)
    EXPECT_EQ(RoutineAt(probe, report.Callers[i]), callers[i]) << "caller line " << i + 1;
}

INSTANTIATE_TEST_SUITE_P(
    Probe, Faults,
    testing::Values(FaultCase{"access-violation", 216, "AccessViolation"},
                    FaultCase{"illegal-instruction", 216, "IllegalInstruction"},
                    FaultCase{"privileged-instruction", 218, "PrivilegedInstruction"},
                    FaultCase{"divide-by-zero", 200, "IntegerDivideByZero"}),
    [](const testing::TestParamInfo<FaultCase>& info) {
      std::string name;
      for (const char* c = info.param.Scenario; *c != '\0'; ++c)
        if (*c != '-') name += *c;
      return name;
    });

// The filter runs on the stack kept back for it; the caller lines stop
// after nine.
TEST(Faults, StackOverflowIsRunError202) {
  SKIP_WITHOUT_WINDOWS_BUILD();
  const ProcessResult run = RunProbe({"stack-overflow"});
  EXPECT_EQ(run.ExitCode, 202);
  const ParsedReport report = ParseRunErrorReport(run.Stderr);
  ASSERT_TRUE(report.WellFormed) << report.Problem << "\n" << run.Stderr;
  const std::string probe = WindowsProgram(Probe);
  EXPECT_EQ(RoutineAt(probe, report.Address), "Recurse");
  ASSERT_EQ(report.Callers.size(), 9u);
  for (const std::string& caller : report.Callers) EXPECT_EQ(RoutineAt(probe, caller), "Recurse");
}

// A fault in a routine of the C library, not of the program: the system's
// exception dispatch must find its way from there to the filter, and the
// caller lines from the library back into the program, up to the start-up
// routine.
TEST(Faults, InTheCLibraryIsRunError216) {
  SKIP_WITHOUT_WINDOWS_BUILD();
  const ProcessResult run = RunProbe({"library-fault"});
  EXPECT_EQ(run.ExitCode, 216);
  const ParsedReport report = ParseRunErrorReport(run.Stderr);
  ASSERT_TRUE(report.WellFormed) << report.Problem << "\n" << run.Stderr;
  EXPECT_EQ(report.Number, 216u);
  const std::string probe = WindowsProgram(Probe);
  EXPECT_EQ(RoutineAt(probe, report.Address), "??") << "the fault is outside the probe";
  std::vector<std::string> callers;
  for (const std::string& caller : report.Callers) callers.push_back(RoutineAt(probe, caller));
  ASSERT_FALSE(callers.empty()) << run.Stderr;
  EXPECT_NE(std::find(callers.begin(), callers.end(), "FaultingRoutine"), callers.end())
      << run.Stderr;
  EXPECT_EQ(callers.back(), "ProgramEntry");
}

// Exception codes raised with RaiseException reach the filter unchanged:
// every row of the fault table, and codes of the two catch-all rows.
struct RaisedCode {
  const char* Code;
  unsigned Number;
};

class RaisedCodes : public testing::TestWithParam<RaisedCode> {};

TEST_P(RaisedCodes, EndWithTheRunErrorOfTheFaultTable) {
  SKIP_WITHOUT_WINDOWS_BUILD();
  const ProcessResult run = RunProbe({"raise", GetParam().Code});
  EXPECT_EQ(run.ExitCode, static_cast<int>(GetParam().Number));
  const ParsedReport report = ParseRunErrorReport(run.Stderr);
  ASSERT_TRUE(report.WellFormed) << report.Problem << "\n" << run.Stderr;
  EXPECT_EQ(report.Number, GetParam().Number);
}

// Not here: 0xC000008C, 0xC0000092 and 0xC0000095: the 64-bit C library's
// start-up routine wraps main in an exception scope that resumes these three,
// so a RaiseException with them returns. A 64-bit processor raises none of
// them on its own (no BOUND, no INTO, and the x87 exceptions are masked).
// Nor 0xC000013A (217): wine's UnhandledExceptionFilter ends the process
// with exit code 1 on this code before any filter of the program runs.
INSTANTIATE_TEST_SUITE_P(FaultTable, RaisedCodes,
                         testing::Values(RaisedCode{"C0000005", 216}, RaisedCode{"C000001D", 216},
                                         RaisedCode{"C000008D", 206}, RaisedCode{"C000008E", 200},
                                         RaisedCode{"C000008F", 207}, RaisedCode{"C0000090", 207},
                                         RaisedCode{"C0000091", 205}, RaisedCode{"C0000093", 206},
                                         RaisedCode{"C0000094", 200}, RaisedCode{"C0000096", 218},
                                         RaisedCode{"C00000FD", 202}, RaisedCode{"E0000001", 217},
                                         RaisedCode{"C0000001", 217}, RaisedCode{"20000001", 255},
                                         RaisedCode{"80000003", 255}, RaisedCode{"40000015", 255}),
                         [](const testing::TestParamInfo<RaisedCode>& info) {
                           return std::string("Code") + info.param.Code;
                         });

}  // namespace
