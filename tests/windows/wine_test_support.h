// What the host's tests of the Windows build share: where that build is,
// how to start its programs under wine, and the host's msgcode to compare
// them with.
//
// scripts/test-windows sets the environment:
//   MSGCODE_WINDOWS_DIR  the x86_64 Windows build directory
//   MSGCODE_WINE         the wine loader (default /usr/lib/wine/wine64)
//   WINEPREFIX, WINEDEBUG as wine reads them
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tests/support/process_runner.h"

// The path of a program of the Windows build, given relative to its build
// directory; empty when MSGCODE_WINDOWS_DIR is not set.
std::string WindowsProgram(const std::string& relativePath);

// The same path as a Windows program sees it, through wine's drive Z:.
std::string WindowsPathOf(const std::string& hostPath);

// Runs a program of the Windows build under wine, with the arguments as
// wine hands them over.
ProcessResult RunUnderWine(const std::string& relativePath, ProcessOptions options);

// Runs the Windows msgcode through msgcode_launch with an exact command
// line, byte for byte.
ProcessResult LaunchWithCommandLine(const std::string& commandLine,
                                    OutputSink stdoutSink = OutputSink::Pipe);

// Runs the host's msgcode with exactly these arguments (none: the usage).
ProcessResult RunHostMsgcode(const std::vector<std::string>& arguments);

// The functions that addr2line places an address of `executable` in, the
// innermost inlined one first and the routine that holds the code last.
std::vector<std::string> FunctionsAt(const std::string& executable, const std::string& address);
// The name of that last one, without its parameters.
std::string RoutineAt(const std::string& executable, const std::string& address);

#define SKIP_WITHOUT_WINDOWS_BUILD()                                   \
  do {                                                                 \
    if (WindowsProgram("msgcode.exe").empty())                         \
      SKIP_WITHOUT_TOOL("MSGCODE_WINDOWS_DIR names no Windows build"); \
  } while (0)
