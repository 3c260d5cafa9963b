// ShortString: the text type of the whole program. A byte string of at most
// 255 bytes with its length in front; bytes carry no code page and are never
// converted. Anything that would grow a text beyond 255 bytes is cut.
#pragma once

#include <stddef.h>
#include <stdint.h>

constexpr int32_t ShortStringCapacity = 255;

struct ShortString {
  uint8_t Length;
  char Bytes[ShortStringCapacity];
};

// A constant ShortString from a string literal, built at compile time.
template <size_t N>
constexpr ShortString ShortStringOf(const char (&literal)[N]) {
  static_assert(N - 1 <= ShortStringCapacity, "a ShortString holds at most 255 bytes");
  ShortString text{};
  text.Length = static_cast<uint8_t>(N - 1);
  for (size_t i = 0; i + 1 < N; ++i) text.Bytes[i] = literal[i];
  return text;
}

// Replaces the whole content of `text` with `length` bytes, cut to 255.
void AssignShortString(ShortString& text, const char* bytes, size_t length);

// Appends `length` bytes to `text`; what does not fit in 255 bytes is cut.
void AppendShortString(ShortString& text, const char* bytes, size_t length);

inline void AppendShortString(ShortString& text, const ShortString& tail) {
  AppendShortString(text, tail.Bytes, tail.Length);
}
