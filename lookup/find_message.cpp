#include <string.h>

#include "lookup/message_table.h"

static ShortString TextOf(const char* text) {
  ShortString result;
  AssignShortString(result, text, strlen(text));
  return result;
}

// Binary search: the entries are sorted by code.
ShortString FindMessage(const MessageTable& table, int16_t code) {
  int32_t low = 0;
  int32_t high = table.EntryCount;
  while (low < high) {
    const int32_t middle = low + (high - low) / 2;
    const MessageEntry& entry = table.Entries[middle];
    if (entry.Code == code) return TextOf(entry.Text);
    if (entry.Code < code)
      low = middle + 1;
    else
      high = middle;
  }
  return TextOf(table.FallbackText);
}
