#include "tests/windows/wine_test_support.h"

#include <stdio.h>
#include <stdlib.h>

static std::string Environment(const char* name, const char* fallback) {
  const char* value = getenv(name);
  return value != nullptr && *value != '\0' ? value : fallback;
}

std::string WindowsProgram(const std::string& relativePath) {
  const std::string directory = Environment("MSGCODE_WINDOWS_DIR", "");
  return directory.empty() ? "" : directory + "/" + relativePath;
}

std::string WindowsPathOf(const std::string& hostPath) {
  std::string path = "Z:" + hostPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

ProcessResult RunUnderWine(const std::string& relativePath, ProcessOptions options) {
  options.Wrapper = {Environment("MSGCODE_WINE", "/usr/lib/wine/wine64")};
  return RunProcess(WindowsProgram(relativePath), options);
}

static std::string HexOf(const std::string& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string hex;
  for (unsigned char byte : bytes) {
    hex += digits[byte >> 4];
    hex += digits[byte & 15];
  }
  return hex;
}

ProcessResult LaunchWithCommandLine(const std::string& commandLine, OutputSink stdoutSink) {
  ProcessOptions options;
  options.Arguments = {WindowsPathOf(WindowsProgram("msgcode.exe")), HexOf(commandLine)};
  options.Stdout = stdoutSink;
  return RunUnderWine("tests/windows/msgcode_launch.exe", options);
}

ProcessResult RunHostMsgcode(const std::vector<std::string>& arguments) {
  ProcessOptions options;
  options.Arguments = arguments;
  return RunProcess(MSGCODE_HOST_EXE, options);
}

std::vector<std::string> FunctionsAt(const std::string& executable, const std::string& address) {
  const std::string command =
      "addr2line -f -i -C -e '" + executable + "' 0x" + address + " 2>/dev/null";
  std::vector<std::string> functions;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return functions;
  char line[4096];
  // Pairs of lines: a function, then its file and line.
  for (int i = 0; fgets(line, sizeof line, pipe) != nullptr; ++i) {
    std::string text = line;
    while (!text.empty() && text.back() == '\n') text.pop_back();
    if (i % 2 == 0) functions.push_back(text);
  }
  pclose(pipe);
  return functions;
}

std::string RoutineAt(const std::string& executable, const std::string& address) {
  const std::vector<std::string> functions = FunctionsAt(executable, address);
  if (functions.empty()) return "";
  const std::string& routine = functions.back();
  return routine.substr(0, routine.find('('));
}
