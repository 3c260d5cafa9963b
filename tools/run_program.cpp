#include "tools/run_program.h"

#include <stdio.h>
#include <sys/wait.h>

#include <stdexcept>

// One word for the shell, whatever bytes it holds.
static std::string ShellQuoted(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

ProgramRun RunProgram(const std::string& executable, const std::string& argument) {
  const std::string command = ShellQuoted(executable) + " " + ShellQuoted(argument) + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) throw std::runtime_error("cannot run " + command);
  ProgramRun run{"", -1};
  char buffer[4096];
  for (size_t count; (count = fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.Output.append(buffer, count);
  const int status = pclose(pipe);
  if (status != -1 && WIFEXITED(status)) run.ExitStatus = WEXITSTATUS(status);
  return run;
}
