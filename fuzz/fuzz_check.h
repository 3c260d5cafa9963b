// What the fuzz targets share: a check that reports a mismatch with the
// model and ends the run, so that libFuzzer keeps the input as a crash.
#pragma once

#include <stdio.h>
#include <stdlib.h>

#include <string>

// The bytes of `bytes` as a C string literal, so a failing case can be read
// and pasted into a unit test.
inline std::string Quoted(const std::string& bytes) {
  static const char hex[] = "0123456789ABCDEF";
  std::string shown = "\"";
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && byte != '"' && byte != '\\') {
      shown += static_cast<char>(byte);
    } else {
      shown += "\\x";
      shown += hex[byte >> 4];
      shown += hex[byte & 0xF];
      shown += "\"\"";  // ends the escape, so a following hex digit stays a byte of its own
    }
  }
  return shown + "\"";
}

[[noreturn]] inline void FuzzFailure(const char* file, int line, const char* condition,
                                     const std::string& context) {
  fprintf(stderr, "%s:%d: check failed: %s\n%s\n", file, line, condition, context.c_str());
  abort();
}

// Checks `condition`; on failure prints `context` (a std::string expression,
// evaluated only then) and aborts.
#define FUZZ_CHECK(condition, context)                                        \
  do {                                                                        \
    if (!(condition)) FuzzFailure(__FILE__, __LINE__, #condition, (context)); \
  } while (0)
