// msgcode's main procedure: the usage text, the invalid-argument line, or
// the four lookup lines for the error number given as first argument.
#pragma once

#include <stdint.h>

#include "runtime/short_string.h"

extern int16_t ErrorCode;
extern int16_t ErrorPos;
extern ShortString MessageText;

// Runs once and ends the program: exit code 1 after the usage text, 2 after
// the invalid-argument line, 0 after the lookup lines.
void LookupDriver();
