// msgcode_fault_probe: a Windows program on msgcode's run-time that faults
// on purpose, so that the tests can watch the unhandled-exception filter
// turn each kind of fault into its run-time error.
//
//   msgcode_fault_probe <scenario>
//   msgcode_fault_probe raise <exception code in hexadecimal>
//
// Every scenario faults two calls below the driver (FaultingRoutine, called
// by Caller), so the report's caller lines show the chain up to the start-up
// routine.
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include "runtime/args/argument_list.h"
#include "runtime/exit/termination.h"

#define PROBE_STEP __attribute__((noinline))

static volatile int Zero = 0;

// The scenario, as the run-time's own argument list holds it.
static char Scenario[256];
static char CodeText[256];

static void CopyParam(int32_t index, char* out) {
  const ShortString text = ParamStr(index);
  memcpy(out, text.Bytes, text.Length);
  out[text.Length] = '\0';
}

static bool Is(const char* name) { return strcmp(Scenario, name) == 0; }

PROBE_STEP static void AccessViolation() {
  // An address the compiler cannot see through, so the store stays.
  volatile uintptr_t nowhere = 8;
  *reinterpret_cast<volatile int*>(nowhere) = 1;
}

PROBE_STEP static void IntegerDivideByZero() {
  volatile int dividend = 7;
  volatile int quotient = dividend / Zero;
  (void)quotient;
}

// Each faulting routine keeps a local on its stack, so that it has a frame
// of its own and the caller lines begin with the routine that called it.
// ud2 in assembly: the compiler must not learn that the routine does not
// return, or the return address after its call would lie beyond the caller.
PROBE_STEP static void IllegalInstruction() {
  volatile int inFrame = 0;
  (void)inFrame;
  __asm__ volatile("ud2");
}

// hlt is allowed in kernel mode only.
PROBE_STEP static void PrivilegedInstruction() {
  volatile int inFrame = 0;
  (void)inFrame;
  __asm__ volatile("hlt");
}

PROBE_STEP static int Recurse(int depth) {
  volatile char frame[256];
  frame[0] = static_cast<char>(depth);
  if (Zero == 0) return Recurse(depth + 1) + frame[0];  // always, unknown to the compiler
  return frame[0];
}

// A fault inside the C library, on a bad pointer handed to it.
PROBE_STEP static void LibraryFault() {
  const char* volatile nowhere = reinterpret_cast<const char*>(8);
  volatile size_t length = strlen(nowhere);
  (void)length;
}

PROBE_STEP static void Raise() {
  RaiseException(static_cast<DWORD>(strtoul(CodeText, nullptr, 16)), 0, 0, nullptr);
}

PROBE_STEP static void FaultingRoutine() {
  if (Is("access-violation")) AccessViolation();
  if (Is("divide-by-zero")) IntegerDivideByZero();
  if (Is("illegal-instruction")) IllegalInstruction();
  if (Is("privileged-instruction")) PrivilegedInstruction();
  if (Is("stack-overflow")) Recurse(0);
  if (Is("raise")) Raise();
  if (Is("library-fault")) LibraryFault();
}

PROBE_STEP static void Caller() { FaultingRoutine(); }

static void FaultProbeDriver() {
  InitRuntime();
  CopyParam(1, Scenario);
  CopyParam(2, CodeText);
  Caller();
  DoExit();
}

int main(int argc, char** argv) { ProgramEntry(argc, argv, FaultProbeDriver); }
