#include "tests/support/run_error_report.h"

#include <stdio.h>

#include <regex>

ParsedReport ParseRunErrorReport(const std::string& text) {
  ParsedReport report;
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      report.Problem = "a line does not end in CR LF";
      return report;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  if (lines.size() < 3) {
    report.Problem = "fewer than three lines";
    return report;
  }
  static const std::regex first("Runtime error ([1-9][0-9]*) at \\$([0-9A-F]{8})");
  static const std::regex address("  \\$([0-9A-F]{8})");
  std::smatch match;
  if (!std::regex_match(lines[0], match, first)) {
    report.Problem = "first line: " + lines[0];
    return report;
  }
  report.Number = static_cast<unsigned>(std::stoul(match[1]));
  report.Address = match[2];
  if (lines[1] != "  $" + report.Address) {
    report.Problem = "second line does not repeat the address: " + lines[1];
    return report;
  }
  if (!lines.back().empty()) {
    report.Problem = "no closing empty line";
    return report;
  }
  for (size_t i = 2; i + 1 < lines.size(); ++i) {
    if (!std::regex_match(lines[i], match, address)) {
      report.Problem = "caller line: " + lines[i];
      return report;
    }
    report.Callers.push_back(match[1]);
  }
  report.WellFormed = true;
  return report;
}

std::string FunctionAt(const std::string& executable, const std::string& address) {
  const std::string command =
      "addr2line -f -C -e '" + executable + "' 0x" + address + " 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return "";
  char line[4096];
  std::string function;
  if (fgets(line, sizeof line, pipe) != nullptr) function = line;
  pclose(pipe);
  while (!function.empty() && (function.back() == '\n')) function.pop_back();
  return function;
}
