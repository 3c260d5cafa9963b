// A constant message table: entries of an error code and its text, sorted
// by code, and the fallback text that answers every other code.
#pragma once

#include <stdint.h>

#include "runtime/short_string.h"

struct MessageEntry {
  int16_t Code;
  const char* Text;
};

struct MessageTable {
  const MessageEntry* Entries;
  int32_t EntryCount;
  const char* FallbackText;
};

template <int32_t N>
constexpr MessageTable MakeMessageTable(const MessageEntry (&entries)[N],
                                        const char* fallbackText) {
  return MessageTable{entries, N, fallbackText};
}

extern const MessageTable Tp55CompilerMessages;
extern const MessageTable Tp60CompilerMessages;
extern const MessageTable Tp55RuntimeMessages;
extern const MessageTable Tp60RuntimeMessages;

// The text of the entry with exactly `code`, or the table's fallback text.
ShortString FindMessage(const MessageTable& table, int16_t code);
