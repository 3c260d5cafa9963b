// Conversion of a text to a signed integer, with the position of the byte
// at which a bad number stopped.
//
// Syntax: TAB and blank bytes, an optional sign, an optional base prefix
// ($, x, X, 0x or 0X for 16, & for 8, % for 2), digits, and nothing after them.
#pragma once

#include <stdint.h>

#include "runtime/short_string.h"

struct NumberPrefix {
  int32_t Position;  // 1-based position of the first digit
  bool Negative;
  int32_t Base;  // 2, 8, 10 or 16
};

NumberPrefix ScanNumberPrefix(const ShortString& text);

// Converts `text`. `destSize` is the size in bytes (1, 2 or 4) of the integer
// the caller stores the value in: an unsigned number in base 2, 8 or 16 is
// narrowed to it with its sign. `errorPos` gets 0 on success, otherwise the
// 1-based position of the byte at which the conversion stopped, and the value
// is then 0.
int32_t ValSigned(int32_t destSize, const ShortString& text, int32_t& errorPos);
