// Fuzz target for the conversion of a text to a signed integer: ScanNumberPrefix
// and ValSigned, for destination sizes 1, 2 and 4 and some that count as 4,
// against a reference written here from the number syntax.
//
// The input is the text (at most 255 bytes are used). The bytes behind the
// text's length are filled with digits and made unreadable for
// AddressSanitizer, so that a read past the length is caught.
#include <sanitizer/asan_interface.h>
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <string>

#include "fuzz/fuzz_check.h"
#include "runtime/convert/val_signed.h"
#include "runtime/short_string.h"

namespace {

// ---------------------------------------------------------------------------
// The reference. Positions are 1-based, as the conversion reports them; all
// arithmetic is on 64-bit integers, which hold every intermediate value
// exactly: a magnitude is at most 2^32 - 1 before it is multiplied by at most
// 16 and a digit below 16 is added.

struct Outcome {
  int32_t Value;
  int32_t ErrorPos;
};

struct Prefix {
  int64_t Position;  // where the digits begin, after the leading zeros
  bool Negative;
  int64_t Base;
};

class NumberText {
 public:
  explicit NumberText(const std::string& bytes) : bytes_(bytes) {}
  int64_t Length() const { return static_cast<int64_t>(bytes_.size()); }
  // The byte at a 1-based position that lies inside the text.
  unsigned At(int64_t position) const {
    return static_cast<unsigned char>(bytes_.at(static_cast<size_t>(position - 1)));
  }
  bool Holds(int64_t position) const { return position >= 1 && position <= Length(); }

 private:
  const std::string& bytes_;
};

// A digit's value, or -1 for a byte that is a digit in no base.
int64_t DigitOf(unsigned byte) {
  static const char digits[] = "0123456789ABCDEF";
  static const char lower[] = "0123456789abcdef";
  for (int64_t value = 0; value < 16; ++value)
    if (byte == static_cast<unsigned char>(digits[value]) ||
        byte == static_cast<unsigned char>(lower[value]))
      return value;
  return -1;
}

// Blanks and TABs, a sign, a base prefix; then where the digits stand. The
// digits start after the prefix; leading zeros are passed over except the
// text's last byte.
struct Layout {
  int64_t DigitsStart;
  bool Negative;
  int64_t Base;
};

Layout ReadLayout(const NumberText& text) {
  Layout layout{1, false, 10};
  int64_t at = 1;
  while (text.Holds(at) && (text.At(at) == 9 || text.At(at) == 32)) at += 1;
  if (text.Holds(at) && text.At(at) == '-') {
    layout.Negative = true;
    at += 1;
  } else if (text.Holds(at) && text.At(at) == '+') {
    at += 1;
  }
  if (text.Holds(at)) {
    const unsigned first = text.At(at);
    const bool hexAfterZero =
        first == '0' && text.Holds(at + 1) && (text.At(at + 1) == 'x' || text.At(at + 1) == 'X');
    if (first == '$' || first == 'x' || first == 'X') {
      layout.Base = 16;
      at += 1;
    } else if (hexAfterZero) {
      layout.Base = 16;
      at += 2;
    } else if (first == '&') {
      layout.Base = 8;
      at += 1;
    } else if (first == '%') {
      layout.Base = 2;
      at += 1;
    }
  }
  layout.DigitsStart = at;
  return layout;
}

Prefix ReferencePrefix(const NumberText& text) {
  const Layout layout = ReadLayout(text);
  int64_t position = layout.DigitsStart;
  while (position < text.Length() && text.At(position) == '0') position += 1;
  return Prefix{position, layout.Negative, layout.Base};
}

// `value` reduced modulo 2^bits into the signed range of that many bits.
int64_t WrapSigned(int64_t value, int bits) {
  const int64_t modulus = int64_t{1} << bits;
  int64_t reduced = value % modulus;
  if (reduced < 0) reduced += modulus;
  if (reduced >= modulus / 2) reduced -= modulus;
  return reduced;
}

Outcome Fail(int64_t position) { return Outcome{0, static_cast<int32_t>(position)}; }

Outcome ReferenceValSigned(int32_t destSize, const NumberText& text) {
  const Layout layout = ReadLayout(text);
  const int64_t start = layout.DigitsStart;
  if (!text.Holds(start)) return Fail(start);  // no digit at all

  // A NUL ends the digits. Where it stands in place of the first digit, the
  // text is a number only when zeros came before it.
  int64_t firstNonZero = start;
  while (text.Holds(firstNonZero) && text.At(firstNonZero) == '0') firstNonZero += 1;
  if (text.Holds(firstNonZero) && text.At(firstNonZero) == 0)
    return firstNonZero > start ? Outcome{0, 0} : Fail(start);

  const int64_t limit = layout.Base != 10 ? 4294967295 : layout.Negative ? 2147483648 : 2147483647;
  int64_t magnitude = 0;
  for (int64_t position = start; text.Holds(position) && text.At(position) != 0; ++position) {
    const int64_t digit = DigitOf(text.At(position));
    if (digit < 0 || digit >= layout.Base) return Fail(position);
    magnitude = magnitude * layout.Base + digit;
    if (magnitude > limit) return Fail(position);
  }

  int64_t value = WrapSigned(layout.Negative ? -magnitude : magnitude, 32);
  if (!layout.Negative && layout.Base != 10) {
    if (destSize == 1) value = WrapSigned(value, 8);
    if (destSize == 2) value = WrapSigned(value, 16);
  }
  return Outcome{static_cast<int32_t>(value), 0};
}

// ---------------------------------------------------------------------------

alignas(8) ShortString Text;

std::string Describe(int32_t destSize, const std::string& bytes, const Outcome& expected,
                     const Outcome& actual) {
  return "text " + Quoted(bytes) + ", DestSize " + std::to_string(destSize) + ": expected value " +
         std::to_string(expected.Value) + " at " + std::to_string(expected.ErrorPos) +
         ", got value " + std::to_string(actual.Value) + " at " + std::to_string(actual.ErrorPos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const size_t length = size < ShortStringCapacity ? size : ShortStringCapacity;
  const std::string bytes(reinterpret_cast<const char*>(data), length);
  const NumberText text(bytes);

  Text.Length = static_cast<uint8_t>(length);
  if (length > 0) memcpy(Text.Bytes, data, length);
  memset(Text.Bytes + length, '1', ShortStringCapacity - length);
  ASAN_POISON_MEMORY_REGION(Text.Bytes + length, ShortStringCapacity - length);

  const Prefix expectedPrefix = ReferencePrefix(text);
  const NumberPrefix prefix = ScanNumberPrefix(Text);
  FUZZ_CHECK(prefix.Position == expectedPrefix.Position &&
                 prefix.Negative == expectedPrefix.Negative && prefix.Base == expectedPrefix.Base,
             "ScanNumberPrefix of " + Quoted(bytes) + ": expected position " +
                 std::to_string(expectedPrefix.Position) + ", negative " +
                 (expectedPrefix.Negative ? "yes" : "no") + ", base " +
                 std::to_string(expectedPrefix.Base) + "; got " + std::to_string(prefix.Position) +
                 ", " + (prefix.Negative ? "yes" : "no") + ", " + std::to_string(prefix.Base));

  // 1, 2 and 4, and sizes that count as 4.
  static const int32_t destSizes[] = {1, 2, 4, 0, 3, 8, -1, INT32_MIN, INT32_MAX};
  for (const int32_t destSize : destSizes) {
    const Outcome expected = ReferenceValSigned(destSize, text);
    Outcome actual{};
    actual.ErrorPos = -12345;  // must be written
    actual.Value = ValSigned(destSize, Text, actual.ErrorPos);
    FUZZ_CHECK(actual.Value == expected.Value && actual.ErrorPos == expected.ErrorPos,
               Describe(destSize, bytes, expected, actual));
  }

  ASAN_UNPOISON_MEMORY_REGION(Text.Bytes + length, ShortStringCapacity - length);
  return 0;
}
