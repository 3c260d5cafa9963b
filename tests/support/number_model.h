// An independent model of the number syntax that msgcode accepts: blanks
// and TABs, an optional sign, an optional base prefix, digits, nothing else.
// Written from the syntax rules with plain wide arithmetic, as a reference
// for the conversion under test.
#pragma once

#include <stdint.h>

#include <string>

struct ModelNumber {
  int32_t Value;     // 0 when the text is no number
  int32_t Position;  // 0, or the 1-based position where the text stops being one
};

ModelNumber ModelValSigned(int destSize, const std::string& text);
