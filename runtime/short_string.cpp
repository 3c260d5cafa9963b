#include "runtime/short_string.h"

#include <string.h>

void AssignShortString(ShortString& text, const char* bytes, size_t length) {
  text.Length = 0;
  AppendShortString(text, bytes, length);
}

void AppendShortString(ShortString& text, const char* bytes, size_t length) {
  size_t room = static_cast<size_t>(ShortStringCapacity) - text.Length;
  if (length > room) length = room;
  memcpy(text.Bytes + text.Length, bytes, length);
  text.Length = static_cast<uint8_t>(text.Length + length);
}
