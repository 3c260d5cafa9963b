#include "runtime/exit/termination.h"

// Exception codes of processor faults, in the Windows numbering that every
// platform maps its faults onto.
constexpr uint32_t STATUS_ACCESS_VIOLATION = 0xC0000005;
constexpr uint32_t STATUS_ILLEGAL_INSTRUCTION = 0xC000001D;
constexpr uint32_t STATUS_ARRAY_BOUNDS_EXCEEDED = 0xC000008C;
constexpr uint32_t STATUS_FLOAT_DENORMAL_OPERAND = 0xC000008D;
constexpr uint32_t STATUS_FLOAT_DIVIDE_BY_ZERO = 0xC000008E;
constexpr uint32_t STATUS_FLOAT_INEXACT_RESULT = 0xC000008F;
constexpr uint32_t STATUS_FLOAT_INVALID_OPERATION = 0xC0000090;
constexpr uint32_t STATUS_FLOAT_OVERFLOW = 0xC0000091;
constexpr uint32_t STATUS_FLOAT_STACK_CHECK = 0xC0000092;
constexpr uint32_t STATUS_FLOAT_UNDERFLOW = 0xC0000093;
constexpr uint32_t STATUS_INTEGER_DIVIDE_BY_ZERO = 0xC0000094;
constexpr uint32_t STATUS_INTEGER_OVERFLOW = 0xC0000095;
constexpr uint32_t STATUS_PRIVILEGED_INSTRUCTION = 0xC0000096;
constexpr uint32_t STATUS_STACK_OVERFLOW = 0xC00000FD;
constexpr uint32_t STATUS_CONTROL_C_EXIT = 0xC000013A;

struct FaultMapping {
  uint32_t ExceptionCode;
  uint16_t RunErrorNumber;
};

static constexpr FaultMapping FaultTable[] = {
    {STATUS_ACCESS_VIOLATION, 216},        {STATUS_ILLEGAL_INSTRUCTION, 216},
    {STATUS_ARRAY_BOUNDS_EXCEEDED, 201},   {STATUS_FLOAT_DENORMAL_OPERAND, 206},
    {STATUS_FLOAT_DIVIDE_BY_ZERO, 200},    {STATUS_FLOAT_INEXACT_RESULT, 207},
    {STATUS_FLOAT_INVALID_OPERATION, 207}, {STATUS_FLOAT_OVERFLOW, 205},
    {STATUS_FLOAT_STACK_CHECK, 207},       {STATUS_FLOAT_UNDERFLOW, 206},
    {STATUS_INTEGER_DIVIDE_BY_ZERO, 200},  {STATUS_INTEGER_OVERFLOW, 215},
    {STATUS_PRIVILEGED_INSTRUCTION, 218},  {STATUS_STACK_OVERFLOW, 202},
    {STATUS_CONTROL_C_EXIT, 217},
};

constexpr uint32_t SeverityErrorBits = 0xC0000000;

uint16_t FaultErrorNumber(uint32_t exceptionCode) {
  for (const FaultMapping& mapping : FaultTable)
    if (mapping.ExceptionCode == exceptionCode) return mapping.RunErrorNumber;
  if ((exceptionCode & SeverityErrorBits) == SeverityErrorBits) return 217;
  return 255;
}

void FaultFilter(const FaultInfo& fault) {
  const uint16_t number = FaultErrorNumber(fault.ExceptionCode);
  if (ExitInProgress) {
    // A fault in the exit processing itself: no second report and no second
    // pass through DoExit. The first error keeps its number; a fault during
    // a normal end is not to pass for success.
    if (!RunErrorPending) ExitCode = number;
    PlatformExitProcess(ExitCode);
  }
  RunErrorAt(number, fault.Address, fault.Frame, fault.StackPointer);
}
