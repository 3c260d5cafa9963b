#include "tests/support/number_model.h"

namespace {

int DigitOf(unsigned char byte) {
  if (byte >= '0' && byte <= '9') return byte - '0';
  if (byte >= 'a' && byte <= 'f') return byte - 'a' + 10;
  if (byte >= 'A' && byte <= 'F') return byte - 'A' + 10;
  return 99;
}

ModelNumber Fail(size_t index) { return {0, static_cast<int32_t>(index + 1)}; }

// What comes before the digits: blanks and TABs, a sign, a base prefix.
struct Lead {
  size_t Digits;  // index of the first digit
  bool Negative;
  int Base;
};

Lead ReadLead(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) return {i, negative, 10};
  const char c = text[i];
  if (c == '$' || c == 'x' || c == 'X') return {i + 1, negative, 16};
  if (c == '&') return {i + 1, negative, 8};
  if (c == '%') return {i + 1, negative, 2};
  if (c == '0' && i + 1 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X'))
    return {i + 2, negative, 16};
  return {i, negative, 10};
}

}  // namespace

ModelNumber ModelValSigned(int destSize, const std::string& text) {
  const Lead lead = ReadLead(text);
  const bool negative = lead.Negative;
  const int base = lead.Base;
  size_t i = lead.Digits;

  // The digits run to the end of the text or to a NUL byte, and there must
  // be at least one.
  const size_t first = i;
  if (first == text.size() || text[first] == '\0') return Fail(first);

  const uint64_t limit = base != 10 ? 0xFFFFFFFFull : negative ? 0x80000000ull : 0x7FFFFFFFull;
  uint64_t magnitude = 0;
  for (; i < text.size() && text[i] != '\0'; ++i) {
    const int digit = DigitOf(static_cast<unsigned char>(text[i]));
    if (digit >= base) return Fail(i);
    magnitude = magnitude * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    if (magnitude > limit) return Fail(i);
  }

  const uint32_t bits = static_cast<uint32_t>(magnitude);
  if (negative) return {static_cast<int32_t>(0u - bits), 0};
  if (base == 10) return {static_cast<int32_t>(bits), 0};
  if (destSize == 1) return {static_cast<int8_t>(bits & 0xFF), 0};
  if (destSize == 2) return {static_cast<int16_t>(bits & 0xFFFF), 0};
  return {static_cast<int32_t>(bits), 0};
}
