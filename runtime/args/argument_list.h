// The command line, split once at start-up into ArgumentList: entry 0 is the
// path of the program's executable, entries 1 onward the arguments, and an
// absent (null) entry marks the end.
//
// Splitting rules for a command-line text: outside double quotes every byte
// from 1 to 32 separates; a double quote switches quoting; a doubled double
// quote yields nothing; no byte escapes another. The first token is the
// program's name and is not stored.
#pragma once

#include <stdint.h>

#include "runtime/short_string.h"

extern char** ArgumentList;
extern int32_t ArgumentCount;

constexpr uint32_t ModulePathSize = 260;

// Start-up: builds the list from what the platform hands over.
void BuildArgumentList();

// The two ways of building it: from a command-line text, or from a vector
// whose entry 0 is the program's name. The module path is entry 0.
void BuildArgumentListFromCommandLine(const char* modulePath, const char* commandLine);
void BuildArgumentListFromVector(const char* modulePath, int32_t count, const char* const* vector);

// Exit: releases every entry and the table.
void ReleaseArgumentList();

int32_t ParamCount();
ShortString ParamStr(int32_t index);
