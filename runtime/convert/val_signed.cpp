#include "runtime/convert/val_signed.h"

// Text positions are 1-based, as error positions are reported.
static uint8_t ByteAt(const ShortString& text, int32_t position) {
  return static_cast<uint8_t>(text.Bytes[position - 1]);
}

NumberPrefix ScanNumberPrefix(const ShortString& text) {
  const int32_t length = text.Length;
  NumberPrefix prefix{1, false, 10};
  int32_t& p = prefix.Position;
  if (length == 0) return prefix;

  while (p <= length && (ByteAt(text, p) == '\t' || ByteAt(text, p) == ' ')) ++p;

  if (p <= length) {
    if (ByteAt(text, p) == '-') {
      prefix.Negative = true;
      ++p;
    } else if (ByteAt(text, p) == '+') {
      ++p;
    }
  }

  if (p <= length) {
    switch (ByteAt(text, p)) {
      case '$':
      case 'x':
      case 'X':
        prefix.Base = 16;
        ++p;
        break;
      case '%':
        prefix.Base = 2;
        ++p;
        break;
      case '&':
        prefix.Base = 8;
        ++p;
        break;
      case '0':
        if (p < length && (ByteAt(text, p + 1) == 'x' || ByteAt(text, p + 1) == 'X')) {
          prefix.Base = 16;
          p += 2;
        }
        break;
      default:
        break;
    }
  }

  // Leading zeros, but never the last byte: a text of zeros keeps one.
  while (p < length && ByteAt(text, p) == '0') ++p;
  return prefix;
}

// The value of a digit byte, or 16 (a digit of no base) for any other byte.
static uint32_t DigitValue(uint8_t byte) {
  if (byte >= '0' && byte <= '9') return byte - '0';
  if (byte >= 'A' && byte <= 'F') return byte - 'A' + 10u;
  if (byte >= 'a' && byte <= 'f') return byte - 'a' + 10u;
  return 16;
}

// An unsigned number in base 2, 8 or 16 may fill the destination's bits
// entirely; it is read back as a signed number of the destination's size.
static int32_t NarrowToDestination(uint32_t value, int32_t destSize) {
  switch (destSize) {
    case 1:
      return static_cast<int8_t>(static_cast<uint8_t>(value));
    case 2:
      return static_cast<int16_t>(static_cast<uint16_t>(value));
    default:
      return static_cast<int32_t>(value);
  }
}

int32_t ValSigned(int32_t destSize, const ShortString& text, int32_t& errorPos) {
  const int32_t length = text.Length;
  const NumberPrefix prefix = ScanNumberPrefix(text);
  int32_t p = prefix.Position;
  errorPos = p;

  if (p > length) return 0;
  // A NUL byte ends the digits; where the first digit should stand it is
  // accepted only behind a zero, which then is the number.
  if (ByteAt(text, p) == 0) {
    if (p > 1 && ByteAt(text, p - 1) == '0') errorPos = 0;
    return 0;
  }

  const uint32_t base = static_cast<uint32_t>(prefix.Base);
  const uint32_t limit = base != 10 ? 4294967295u : prefix.Negative ? 2147483648u : 2147483647u;
  uint32_t magnitude = 0;
  for (; p <= length; ++p) {
    const uint8_t byte = ByteAt(text, p);
    if (byte == 0) break;
    const uint32_t digit = DigitValue(byte);
    // The limit test on the exact product: magnitude * base + digit > limit,
    // arranged so that nothing can wrap around.
    if (digit >= base || magnitude > (limit - digit) / base) {
      errorPos = p;
      return 0;
    }
    magnitude = magnitude * base + digit;
  }

  errorPos = 0;
  if (prefix.Negative) return static_cast<int32_t>(0u - magnitude);
  if (base != 10) return NarrowToDestination(magnitude, destSize);
  return static_cast<int32_t>(magnitude);
}
