// Moving bytes between std::string and ShortString in tests, and showing
// them readably in failure messages.
#pragma once

#include <string>

#include "runtime/short_string.h"

// The bytes as a ShortString; a test that passes more than 255 is wrong.
ShortString ShortStringFromBytes(const std::string& bytes);

std::string BytesOf(const ShortString& text);

// A string literal with every byte kept, embedded NUL bytes included.
template <size_t N>
std::string Bytes(const char (&literal)[N]) {
  return std::string(literal, N - 1);
}

// The bytes between double quotes, with every byte that is not printable
// ASCII (and the quote and backslash) as \xNN.
std::string ShowBytes(const std::string& bytes);
