// Runs a program as a child process with exact arguments and a chosen fate
// for its standard output and standard error, and collects what it wrote.
#pragma once

#include <string>
#include <vector>

enum class OutputSink {
  Pipe,        // collected
  DevFull,     // /dev/full: every write fails with ENOSPC
  Closed,      // the descriptor is closed
  BrokenPipe,  // a pipe whose reader has gone
};

struct ProcessOptions {
  std::vector<std::string> Arguments;  // after the program name
  bool EmptyArgumentVector = false;    // start with no argv[0] at all
  OutputSink Stdout = OutputSink::Pipe;
  OutputSink Stderr = OutputSink::Pipe;
  std::vector<std::string> Wrapper;  // a command to run the program through
};

struct ProcessResult {
  std::string Stdout;
  std::string Stderr;
  int ExitCode = -1;   // -1 when ended by a signal
  int TermSignal = 0;  // the signal that ended it, if any
};

ProcessResult RunProcess(const std::string& program, const ProcessOptions& options);

// The executable under test: $MSGCODE_EXE, or the one just built. Run
// through $MSGCODE_EXE_WRAPPER when that is set (an emulator, say).
std::string MsgcodeExecutable();
std::vector<std::string> MsgcodeWrapper();
bool MsgcodeRunsNatively();

ProcessResult RunMsgcode(ProcessOptions options);
ProcessResult RunMsgcode(const std::vector<std::string>& arguments);

std::string ReadFixture(const std::string& name);

// Whether every optional tool must be present ($MSGCODE_REQUIRE_ALL=1, as in
// CI): a test that would skip for want of one fails instead.
bool RequireAllTools();

#define SKIP_WITHOUT_TOOL(why)              \
  do {                                      \
    if (RequireAllTools()) FAIL() << (why); \
    GTEST_SKIP() << (why);                  \
  } while (0)
