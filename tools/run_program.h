// Runs a program with one argument and captures what it writes.
#pragma once

#include <string>

struct ProgramRun {
  std::string Output;  // standard output and standard error, byte for byte
  int ExitStatus;      // -1 when the program did not end with an exit status
};

ProgramRun RunProgram(const std::string& executable, const std::string& argument);
