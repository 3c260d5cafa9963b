#include "tests/support/short_string_text.h"

#include <gtest/gtest.h>
#include <string.h>

ShortString ShortStringFromBytes(const std::string& bytes) {
  EXPECT_LE(bytes.size(), 255u) << "a ShortString holds at most 255 bytes";
  ShortString text{};
  text.Length = static_cast<uint8_t>(bytes.size() > 255 ? 255 : bytes.size());
  memcpy(text.Bytes, bytes.data(), text.Length);
  return text;
}

std::string BytesOf(const ShortString& text) { return std::string(text.Bytes, text.Length); }

std::string ShowBytes(const std::string& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string shown = "\"";
  for (unsigned char byte : bytes) {
    if (byte >= 0x20 && byte < 0x7F && byte != '"' && byte != '\\') {
      shown += static_cast<char>(byte);
    } else {
      shown += "\\x";
      shown += digits[byte >> 4];
      shown += digits[byte & 15];
    }
  }
  return shown + "\" (" + std::to_string(bytes.size()) + " bytes)";
}
