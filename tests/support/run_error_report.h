// Reading a run-time error report back: its number and its addresses.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

struct ParsedReport {
  bool WellFormed = false;
  std::string Problem;  // why it is not, when it is not
  unsigned Number = 0;
  std::string Address;               // the 8 digits of the first line
  std::vector<std::string> Callers;  // the 8 digits of each caller line
};

// Checks the exact form: "Runtime error N at $XXXXXXXX", "  $" and the same
// address, the caller lines "  $XXXXXXXX", an empty line; CR LF everywhere;
// N without blanks or leading zeros; digits upper-case hexadecimal.
ParsedReport ParseRunErrorReport(const std::string& text);

// The function that addr2line names for an address of `executable`, or an
// empty string when addr2line is not at hand.
std::string FunctionAt(const std::string& executable, const std::string& address);
