// The run-time error number of each processor fault, and the address form of
// the run-time error report.

#include <stdint.h>
#include <stdio.h>

#include <string>

#include <gtest/gtest.h>

#include "runtime/exit/termination.h"

namespace {

std::string Hex32(uint32_t value) {
  char text[16];
  snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

struct FaultCase {
  uint32_t ExceptionCode;
  uint16_t ErrorNumber;
};

TEST(FaultTableTest, EveryFaultHasItsNumber) {
  const FaultCase cases[] = {
      {0xC0000005u, 216},  // STATUS_ACCESS_VIOLATION
      {0xC000001Du, 216},  // STATUS_ILLEGAL_INSTRUCTION
      {0xC000008Cu, 201},  // STATUS_ARRAY_BOUNDS_EXCEEDED
      {0xC000008Du, 206},  // STATUS_FLOAT_DENORMAL_OPERAND
      {0xC000008Eu, 200},  // STATUS_FLOAT_DIVIDE_BY_ZERO
      {0xC000008Fu, 207},  // STATUS_FLOAT_INEXACT_RESULT
      {0xC0000090u, 207},  // STATUS_FLOAT_INVALID_OPERATION
      {0xC0000091u, 205},  // STATUS_FLOAT_OVERFLOW
      {0xC0000092u, 207},  // STATUS_FLOAT_STACK_CHECK
      {0xC0000093u, 206},  // STATUS_FLOAT_UNDERFLOW
      {0xC0000094u, 200},  // STATUS_INTEGER_DIVIDE_BY_ZERO
      {0xC0000095u, 215},  // STATUS_INTEGER_OVERFLOW
      {0xC0000096u, 218},  // STATUS_PRIVILEGED_INSTRUCTION
      {0xC00000FDu, 202},  // STATUS_STACK_OVERFLOW
      {0xC000013Au, 217},  // STATUS_CONTROL_C_EXIT
  };
  for (const FaultCase& c : cases) {
    SCOPED_TRACE(Hex32(c.ExceptionCode));
    EXPECT_EQ(FaultErrorNumber(c.ExceptionCode), c.ErrorNumber);
  }
}

TEST(FaultTableTest, OtherCodesBySeverity) {
  const FaultCase cases[] = {
      // Both top bits set: a severity error.
      {0xC0000001u, 217},
      {0xC0000000u, 217},
      {0xC0000097u, 217},
      {0xC00000FEu, 217},
      {0xC000013Bu, 217},
      {0xE06D7363u, 217},
      {0xFFFFFFFFu, 217},
      // Anything else, also where the low bits are those of a fault above.
      {0x80000001u, 255},
      {0x80000003u, 255},
      {0x80000005u, 255},
      {0x40010005u, 255},
      {0x4000008Eu, 255},
      {0x00000005u, 255},
      {0x7FFFFFFFu, 255},
      {0xBFFFFFFFu, 255},
      {0u, 255},
  };
  for (const FaultCase& c : cases) {
    SCOPED_TRACE(Hex32(c.ExceptionCode));
    EXPECT_EQ(FaultErrorNumber(c.ExceptionCode), c.ErrorNumber);
  }
}

struct HexCase {
  CodeAddress Address;
  std::string Expected;
};

TEST(HexAddressTest, EightUpperCaseDigitsWithLeadingZeros) {
  const HexCase cases[] = {
      {0, "00000000"},
      {1, "00000001"},
      {0x10, "00000010"},
      {0x0040185E, "0040185E"},
      {0x00ABCDEF, "00ABCDEF"},
      {0x0A0B0C0D, "0A0B0C0D"},
      {0xDEADBEEF, "DEADBEEF"},
      {0xF0000000, "F0000000"},
      {0xFFFFFFFF, "FFFFFFFF"},
      {0x12345678, "12345678"},
      // A wider address keeps its low 32 bits.
      {static_cast<CodeAddress>(0x123456789ABCDEF0ull), "9ABCDEF0"},
      {static_cast<CodeAddress>(0xFFFFFFFF00000001ull), "00000001"},
      {static_cast<CodeAddress>(0x0000000100401000ull), "00401000"},
  };
  for (const HexCase& c : cases) {
    SCOPED_TRACE(c.Expected);
    const ShortString text = HexAddress(c.Address);
    EXPECT_EQ(std::string(text.Bytes, text.Length), c.Expected);
  }
}

}  // namespace
