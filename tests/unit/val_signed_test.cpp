// ScanNumberPrefix and ValSigned: the number syntax, the limits of each base,
// the narrowing of unsigned numbers and the position of the byte at which a
// bad number stops.

#include <ctype.h>
#include <stdint.h>
#include <string.h>

#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/convert/val_signed.h"
#include "tests/support/number_model.h"
#include "tests/support/short_string_text.h"

namespace {

// --- ScanNumberPrefix --------------------------------------------------------

struct PrefixCase {
  std::string Text;
  int32_t Position;
  bool Negative;
  int32_t Base;
};

TEST(ScanNumberPrefixTest, FindsBlanksSignPrefixAndLeadingZeros) {
  // clang-format off
  const PrefixCase cases[] = {
      {"", 1, false, 10},
      {"42", 1, false, 10},
      {"   ", 4, false, 10},
      {" \t 7", 4, false, 10},
      {"  \t-$1F", 6, true, 16},
      {"+0x1F", 4, false, 16},
      {"-", 2, true, 10},
      {"+", 2, false, 10},
      {"--42", 2, true, 10},
      {"+-5", 2, false, 10},
      {"-\t5", 2, true, 10},    // a TAB after the sign is not passed over
      {"$1F", 2, false, 16},
      {"x1F", 2, false, 16},
      {"X1F", 2, false, 16},
      {"0x1F", 3, false, 16},
      {"0X1F", 3, false, 16},
      {"%101", 2, false, 2},
      {"&17", 2, false, 8},
      {"$+10", 2, false, 16},   // no sign after the prefix
      {"$", 2, false, 16},
      {"0x", 3, false, 16},
      {"0x0x", 4, false, 16},   // the zero after the prefix is passed over
      {"0", 1, false, 10},      // the last byte is never passed over
      {"000", 3, false, 10},
      {"007", 3, false, 10},
      {"00x1", 3, false, 10},   // only a 0 at the prefix place starts 0x
      {"-0", 2, true, 10},
      {"$0010", 4, false, 16},
      {"010", 2, false, 10},    // a leading 0 does not select octal
      {"0 ", 2, false, 10},
      {Bytes("0\0"), 2, false, 10},
      {Bytes("\0"), 1, false, 10},
      {"\r5", 1, false, 10},    // only TAB and blank are passed over
      {"\xA0" "5", 1, false, 10},
  };
  // clang-format on
  for (const PrefixCase& c : cases) {
    SCOPED_TRACE(ShowBytes(c.Text));
    const NumberPrefix prefix = ScanNumberPrefix(ShortStringFromBytes(c.Text));
    EXPECT_EQ(prefix.Position, c.Position);
    EXPECT_EQ(prefix.Negative, c.Negative);
    EXPECT_EQ(prefix.Base, c.Base);
  }
}

// --- ValSigned: cases ----------------------------------------------------------

struct ValCase {
  int32_t DestSize;
  std::string Text;
  int32_t Value;
  int32_t ErrorPos;
};

void CheckCases(const std::vector<ValCase>& cases) {
  for (const ValCase& c : cases) {
    SCOPED_TRACE("DestSize " + std::to_string(c.DestSize) + ", text " + ShowBytes(c.Text));
    int32_t errorPos = -12345;
    const int32_t value = ValSigned(c.DestSize, ShortStringFromBytes(c.Text), errorPos);
    EXPECT_EQ(value, c.Value);
    EXPECT_EQ(errorPos, c.ErrorPos);
  }
}

std::string Repeat(char byte, size_t count) { return std::string(count, byte); }

TEST(ValSignedTest, DestSizeTwoAsTheLookupCallsIt) {
  CheckCases({
      {2, "42", 42, 0},
      {2, "", 0, 1},
      {2, "   ", 0, 4},
      {2, Repeat(' ', 255), 0, 256},
      {2, "\t 42", 42, 0},
      {2, "42 ", 0, 3},
      {2, "1 2", 0, 2},
      {2, "+42", 42, 0},
      {2, "-42", -42, 0},
      {2, "- 42", 0, 2},
      {2, "--42", 0, 2},
      {2, "+", 0, 2},
      {2, "-", 0, 2},
      {2, "12a", 0, 3},
      {2, "1F", 0, 2},
      {2, "$1F", 31, 0},
      {2, "$1f", 31, 0},
      {2, "x1F", 31, 0},
      {2, "X1F", 31, 0},
      {2, "0x1F", 31, 0},
      {2, "0X1F", 31, 0},
      {2, "+$10", 16, 0},
      {2, "$+10", 0, 2},
      {2, "$", 0, 2},
      {2, "0x", 0, 3},
      {2, "0x0x", 0, 4},
      {2, "$G", 0, 2},
      {2, "%101", 5, 0},
      {2, "%102", 0, 4},
      {2, "&17", 15, 0},
      {2, "&18", 0, 3},
      {2, "010", 10, 0},
      {2, "0", 0, 0},
      {2, "000", 0, 0},
      {2, "-0", 0, 0},
      {2, "0 ", 0, 2},
      {2, "$7FFF", 32767, 0},
      {2, "$8000", -32768, 0},
      {2, "$FFFF", -1, 0},
      {2, "$10000", 0, 0},
      {2, "$12345", 9029, 0},
      {2, "$FFFFFFFF", -1, 0},
      {2, "$100000000", 0, 10},
      {2, "-$8000", -32768, 0},
      {2, "-$FFFF", -65535, 0},
      {2, "-$FFFFFFFF", 1, 0},
      {2, "-$80000000", INT32_MIN, 0},
      {2, "70000", 70000, 0},
      {2, "2147483647", 2147483647, 0},
      {2, "2147483648", 0, 10},
      {2, "-2147483648", INT32_MIN, 0},
      {2, "-2147483649", 0, 11},
      {2, "0002147483648", 0, 13},
      {2, "9999999999", 0, 10},
      {2, "&37777777777", -1, 0},
      {2, "&40000000000", 0, 12},
      {2, "%" + Repeat('1', 32), -1, 0},
      {2, "%" + Repeat('1', 33), 0, 34},
      {2, "\r5", 0, 1},
  });
}

TEST(ValSignedTest, OtherDestSizes) {
  CheckCases({
      {1, "$FF", -1, 0},
      {1, "$80", -128, 0},
      {1, "$7F", 127, 0},
      {1, "255", 255, 0},
      {4, "$FFFF", 65535, 0},
      {4, "$FFFFFFFF", -1, 0},
      {4, "$80000000", INT32_MIN, 0},
      {3, "$FFFF", 65535, 0},
      // Narrowing keeps the low bits of every unsigned base, and only theirs.
      {1, "$100", 0, 0},
      {1, "$1FF", -1, 0},
      {1, "%11111111", -1, 0},
      {1, "&377", -1, 0},
      {1, "&200", -128, 0},
      {1, "+$FF", -1, 0},  // a plus sign does not stop the narrowing
      {2, "+$FFFF", -1, 0},
      {2, "%1111111111111111", -1, 0},
      {2, "&177777", -1, 0},
      {2, "&100000", -32768, 0},
      {1, "-$FF", -255, 0},  // a minus sign does
      {1, "-128", -128, 0},  // decimal numbers are never narrowed
      {1, "-129", -129, 0},
      {1, "300", 300, 0},
      {2, "65535", 65535, 0},
      {2, "-40000", -40000, 0},
      // Any other size is treated like 4.
      {0, "$FFFF", 65535, 0},
      {5, "$FF", 255, 0},
      {8, "$FFFF", 65535, 0},
      {-1, "$FFFF", 65535, 0},
      {4, "$7FFFFFFF", 2147483647, 0},
      {4, "-$80000000", INT32_MIN, 0},
      {4, "-$FFFFFFFF", 1, 0},
      {4, "&37777777777", -1, 0},
      {4, "%" + Repeat('1', 32), -1, 0},
      {4, "-2147483648", INT32_MIN, 0},
      {4, "2147483648", 0, 10},
  });
}

TEST(ValSignedTest, TextsHoldingANulByte) {
  // clang-format off
  CheckCases({
      {2, Bytes("12\0" "9"), 12, 0},
      {2, Bytes("\0"), 0, 1},
      {2, Bytes("-\0"), 0, 2},
      {2, Bytes("0\0"), 0, 0},
      {2, Bytes("$\0"), 0, 2},
      {2, Bytes("$0\0"), 0, 0},
      {2, Bytes("0x\0"), 0, 3},
      // Beyond them: whatever follows the NUL is not read.
      {2, Bytes("12\0x"), 12, 0},
      {2, Bytes("00\0" "5"), 0, 0},
      {2, Bytes("-7\0"), -7, 0},
      {2, Bytes("$FFFF\0" "1"), -1, 0},
      {2, Bytes(" \0"), 0, 2},
      {2, Bytes("+\0" "5"), 0, 2},
      {2, Bytes("0x0\0"), 0, 0},
      {2, Bytes("2147483647\0" "9"), 2147483647, 0},
      {2, Bytes("1x\0"), 0, 2},  // a bad byte before the NUL still counts
  });
  // clang-format on
}

TEST(ValSignedTest, OverflowStopsAtTheFirstDigitPastTheLimit) {
  CheckCases({
      // Base 16: 4294967295 with or without a sign, after any prefix.
      {2, "$1FFFFFFFF", 0, 10},
      {2, "x100000000", 0, 10},
      {2, "0x100000000", 0, 11},
      {2, "-$100000000", 0, 11},
      {2, "-0X1FFFFFFFF", 0, 12},
      {2, "$00001FFFFFFFF", 0, 14},
      {2, "$0000FFFFFFFF", -1, 0},
      {4, "-$100000000", 0, 11},
      // Base 8.
      {2, "&77777777777", 0, 12},
      {2, "-&40000000000", 0, 13},
      {4, "-&37777777777", 1, 0},
      {2, "&0040000000000", 0, 14},
      // Base 2.
      {2, "-%" + Repeat('1', 33), 0, 35},
      {2, "-%" + Repeat('1', 32), 1, 0},
      {2, "%1" + Repeat('0', 32), 0, 34},
      {2, "%" + Repeat('0', 40) + Repeat('1', 32), -1, 0},
      // Base 10: 2147483647, and 2147483648 after a minus sign.
      {2, "21474836470", 0, 11},
      {2, "4294967296", 0, 10},
      {2, "-2147483650", 0, 11},
      {2, "-21474836480", 0, 12},
      {2, "-4294967295", 0, 11},
      {2, "+2147483648", 0, 11},
      {2, "  -2147483649", 0, 13},
      {2, "-0002147483648", INT32_MIN, 0},
      {2, "99999999999x", 0, 10},  // the overflow comes before the bad byte
      {2, "214748364x", 0, 10},    // the bad byte comes before any overflow
  });
}

TEST(ValSignedTest, TextsOfTheFullLength) {
  CheckCases({
      {2, Repeat('0', 254) + "1", 1, 0},
      {2, Repeat('0', 255), 0, 0},
      {2, Repeat('0', 245) + "2147483647", 2147483647, 0},
      {2, Repeat('0', 245) + "2147483648", 0, 255},
      {2, "-" + Repeat('0', 244) + "2147483648", INT32_MIN, 0},
      {2, "$" + Repeat('0', 246) + "FFFFFFFF", -1, 0},
      {2, "$" + Repeat('0', 245) + "100000000", 0, 255},
      {2, Repeat(' ', 254) + "7", 7, 0},
      {2, Repeat('\t', 253) + "-7", -7, 0},
      {2, Repeat(' ', 254) + "-", 0, 256},
      {2, Repeat(' ', 254) + "$", 0, 256},
      {2, Repeat(' ', 253) + "0x", 0, 256},
      {2, Repeat('0', 253) + "1x", 0, 255},
      {2, Repeat('0', 254) + " ", 0, 255},
      {2, Repeat('9', 255), 0, 10},
  });
}

TEST(ValSignedTest, BytesThatAreNoDigitOrNoSeparator) {
  // clang-format off
  CheckCases({
      {2, "-\t5", 0, 2},     // TAB after the sign
      {2, "+ 5", 0, 2},
      {2, "$\t5", 0, 2},     // TAB after the prefix
      {2, "5\t", 0, 2},
      {2, "\n5", 0, 1},
      {2, "\v5", 0, 1},
      {2, "/", 0, 1},        // the bytes around the digit ranges
      {2, ":", 0, 1},
      {2, "$@", 0, 2},
      {2, "$g", 0, 2},
      {2, "$`", 0, 2},
      {2, "$G", 0, 2},
      {2, "9a", 0, 2},
      {2, "&8", 0, 2},
      {2, "&9", 0, 2},
      {2, "%2", 0, 2},
      {2, "%1A", 0, 3},
      {2, "$$1", 0, 2},      // a second prefix
      {2, "%$1", 0, 2},
      {2, "0$1", 0, 2},
      {2, "0%1", 0, 2},
      {2, "5-", 0, 2},
      {2, "1e3", 0, 2},
      {2, "1.0", 0, 2},
      {2, "1,000", 0, 2},
      {2, "\xB1", 0, 1},     // bytes from 128 up, among them '1' and 'A' with the top bit set
      {2, "1\xB2", 0, 2},
      {2, "$\xC1", 0, 2},
      {2, "$\xE1", 0, 2},
      {2, "\x80", 0, 1},
      {2, "\xFF", 0, 1},
      {2, "-\xA0" "5", 0, 2},
      {2, "\xA0" "5", 0, 1}, // a no-break space is not a blank
  });
  // clang-format on
}

// --- ValSigned against a reference model ---------------------------------------

TEST(ValSignedReferenceTest, ReferenceModelAgreesWithTheCasesAbove) {
  // A few rows checked against the model itself, so that a slip in the model
  // does not pass silently as agreement with the product.
  const ValCase cases[] = {
      {2, "$FFFF", -1, 0},
      {2, "-$FFFF", -65535, 0},
      {2, "0002147483648", 0, 13},
      {2, Bytes("0x\0"), 0, 3},
      {2, Bytes("0\0"), 0, 0},
      {2, Repeat(' ', 255), 0, 256},
      {1, "$80", -128, 0},
      {3, "$FFFF", 65535, 0},
      {2, "%" + Repeat('1', 33), 0, 34},
      {2, "-2147483648", INT32_MIN, 0},
  };
  for (const ValCase& c : cases) {
    SCOPED_TRACE(ShowBytes(c.Text));
    const ModelNumber expected = ModelValSigned(c.DestSize, c.Text);
    EXPECT_EQ(expected.Value, c.Value);
    EXPECT_EQ(expected.Position, c.ErrorPos);
  }
}

// Random texts over the bytes that matter to the syntax.
class TextGenerator {
 public:
  explicit TextGenerator(uint32_t seed) : random_(seed) {}

  std::string Next() {
    switch (Below(4)) {
      case 0:
        return Scrambled();
      case 1:
        return NearTheLimit();
      default:
        return Shaped();
    }
  }

 private:
  static constexpr char Alphabet[] =
      "0123456789abcdefABCDEF"
      "xX$%&+- \t"
      "0000"
      "gG/:@`\r.";

  size_t Below(size_t bound) {
    return std::uniform_int_distribution<size_t>(0, bound - 1)(random_);
  }
  bool Chance(size_t percent) { return Below(100) < percent; }

  char AnyByte() {
    switch (Below(16)) {
      case 0:
        return '\0';
      case 1:
        return static_cast<char>(0x80 + Below(128));
      case 2:
        return static_cast<char>(1 + Below(31));
      default:
        return Alphabet[Below(sizeof Alphabet - 1)];
    }
  }

  char DigitOf(int base) {
    static const char digits[] = "0123456789abcdefABCDEF";
    if (base == 16) return digits[Below(22)];
    return digits[Below(static_cast<size_t>(base))];
  }

  // Any bytes at all, short.
  std::string Scrambled() {
    std::string text;
    const size_t length = Below(13);
    for (size_t i = 0; i < length; ++i) text += AnyByte();
    return text;
  }

  std::string Lead() {
    std::string text;
    const size_t blanks = Chance(70) ? 0 : Below(4);
    for (size_t i = 0; i < blanks; ++i) text += Chance(50) ? ' ' : '\t';
    return text;
  }

  std::string Sign() {
    switch (Below(6)) {
      case 0:
        return "-";
      case 1:
        return "+";
      case 2:
        return Chance(10) ? "--" : "-";
      default:
        return "";
    }
  }

  std::string Prefix(int& base) {
    static const char* const prefixes16[] = {"$", "x", "X", "0x", "0X"};
    switch (Below(8)) {
      case 0:
      case 1:
        base = 16;
        return prefixes16[Below(5)];
      case 2:
        base = 8;
        return "&";
      case 3:
        base = 2;
        return "%";
      default:
        base = 10;
        return "";
    }
  }

  static size_t DigitsToTheLimit(int base) {
    switch (base) {
      case 2:
        return 32;
      case 8:
        return 11;
      case 16:
        return 8;
      default:
        return 10;
    }
  }

  // Blanks, sign, prefix, zeros and digits, now and then with a stray byte.
  std::string Shaped() {
    int base = 10;
    std::string text = Lead() + Sign() + Prefix(base);
    if (Chance(30)) text.append(Chance(10) ? Below(250) : Below(4), '0');
    const size_t digits = Below(DigitsToTheLimit(base) + 3);
    for (size_t i = 0; i < digits; ++i) text += Chance(3) ? AnyByte() : DigitOf(base);
    if (Chance(10)) text += AnyByte();
    if (Chance(5)) text += '\0' + Scrambled();
    if (text.size() > 255) text.resize(255);
    return text;
  }

  // A magnitude a little below or above a limit, written in its base.
  std::string NearTheLimit() {
    static const char digits[] = "0123456789ABCDEF";
    int base = 10;
    std::string prefix = Prefix(base);
    const bool negative = Chance(50);
    const uint64_t limit = base != 10 ? 0xFFFFFFFFull : negative ? 0x80000000ull : 0x7FFFFFFFull;
    uint64_t magnitude = limit - 3 + Below(7);
    if (Chance(15))
      magnitude = magnitude * static_cast<uint64_t>(base) + Below(static_cast<size_t>(base));
    std::string number;
    do {
      number.insert(number.begin(), digits[magnitude % static_cast<uint64_t>(base)]);
      magnitude /= static_cast<uint64_t>(base);
    } while (magnitude != 0);
    if (base == 16 && Chance(50)) {
      for (char& c : number) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    }
    std::string text = Lead() + (negative ? "-" : Chance(30) ? "+" : "") + prefix;
    if (Chance(20)) text.append(Below(5), '0');
    return text + number;
  }

  std::mt19937 random_;
};

TEST(ValSignedReferenceTest, AgreesWithTheReferenceOnRandomTexts) {
  TextGenerator generator(20180207u);
  const int32_t destSizes[] = {1, 2, 3, 4};
  int mismatches = 0;
  int successes = 0;
  int bigSuccesses = 0;
  int failures = 0;
  for (int i = 0; i < 300000; ++i) {
    const std::string text = generator.Next();
    const ShortString shortText = ShortStringFromBytes(text);
    for (int32_t destSize : destSizes) {
      const ModelNumber expected = ModelValSigned(destSize, text);
      int32_t errorPos = -12345;
      const int32_t value = ValSigned(destSize, shortText, errorPos);
      if (value != expected.Value || errorPos != expected.Position) {
        if (++mismatches <= 20) {
          ADD_FAILURE() << "DestSize " << destSize << ", text " << ShowBytes(text)
                        << ": expected value " << expected.Value << " and position "
                        << expected.Position << ", got value " << value << " and position "
                        << errorPos;
        }
      }
      if (destSize == 4) {
        if (expected.Position == 0) {
          ++successes;
          if (expected.Value > 0xFFFF || expected.Value < -0xFFFF) ++bigSuccesses;
        } else {
          ++failures;
        }
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
  // The texts must reach both outcomes, and numbers far beyond 16 bits, for
  // the agreement to say anything.
  EXPECT_GT(successes, 30000);
  EXPECT_GT(bigSuccesses, 10000);
  EXPECT_GT(failures, 30000);
}

}  // namespace
