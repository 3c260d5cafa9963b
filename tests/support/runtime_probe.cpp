// A test-only program on msgcode's run-time: it does on purpose what msgcode
// cannot be made to do from outside (processor faults, a deep call chain,
// a heap that runs out, a fault in the exit processing) or show (its own
// argument 0), and ends through the run-time like msgcode does. The first
// argument names the scenario.
#include <stdint.h>
#include <string.h>
#if defined(__x86_64__) || defined(__i386__)
#include <xmmintrin.h>
#endif

#include "runtime/args/argument_list.h"
#include "runtime/exit/termination.h"
#include "runtime/memory/memory.h"
#include "runtime/stream/text_stream.h"

#define PROBE_STEP __attribute__((noinline))

// The sanitizers must not step in where a step faults on purpose: their
// check of an indirect call reads the callee before the call, and their
// check of a division reports it instead of letting it fault.
#if defined(__clang__)
#define NOT_SANITIZED(check) __attribute__((no_sanitize(check)))
#else
#define NOT_SANITIZED(check)
#endif

static const char* Scenario = "";

static bool Is(const char* name) { return strcmp(Scenario, name) == 0; }

static volatile int Zero = 0;

PROBE_STEP static void AccessViolation() {
  // An address the compiler cannot see through, so the store stays.
  volatile uintptr_t nowhere = 8;
  *reinterpret_cast<volatile int*>(nowhere) = 1;
}

PROBE_STEP NOT_SANITIZED("function") static void CallThroughNull() {
  void (*volatile nothing)() = nullptr;
  nothing();
}

PROBE_STEP NOT_SANITIZED("integer-divide-by-zero") static void IntegerDivideByZero() {
  volatile int dividend = 7;
  volatile int quotient = dividend / Zero;
  (void)quotient;
}

PROBE_STEP static void FloatDivideByZero() {
#if defined(__x86_64__) || defined(__i386__)
  _mm_setcsr(_mm_getcsr() & ~_MM_MASK_DIV_ZERO);  // let the division fault
#endif
  volatile double dividend = 1.0;
  volatile double divisor = Zero;
  volatile double quotient = dividend / divisor;
  (void)quotient;
}

PROBE_STEP static void IllegalInstruction() { __builtin_trap(); }

PROBE_STEP static int Recurse(int depth) {
  volatile char frame[256];
  frame[0] = static_cast<char>(depth);
  if (Zero == 0) return Recurse(depth + 1) + frame[0];  // always, unknown to the compiler
  return frame[0];
}

// A chain of routines, each calling the next, the deepest raising a
// run-time error: Chain(n) is n calls deep.
PROBE_STEP static void Chain(int depth) {
  if (depth == 0) {
    RunError(42);
    return;
  }
  Chain(depth - 1);
}

// A stream operation that faults: run where the exit processing flushes.
static void FaultingFlush(TextStream&) { AccessViolation(); }

static void* NoMemory(void*, size_t) { return nullptr; }

static void ProbeDriver() {
  InitRuntime();
  if (Is("access-violation")) AccessViolation();
  if (Is("call-null")) CallThroughNull();
  if (Is("divide-by-zero")) IntegerDivideByZero();
  if (Is("float-divide-by-zero")) FloatDivideByZero();
  if (Is("illegal-instruction")) IllegalInstruction();
  if (Is("stack-overflow")) Recurse(0);
  if (Is("chain-3")) Chain(3);
  if (Is("chain-20")) Chain(20);
  if (Is("fault-in-report")) {
    StdErr().FlushOp = FaultingFlush;
    RunError(42);
  }
  if (Is("fault-in-fault-report")) {
    // The second fault arrives while the first one's handling runs.
    StdErr().FlushOp = FaultingFlush;
    IntegerDivideByZero();
  }
  if (Is("fault-at-normal-end")) {
    // Something waits in the buffer, and emptying it faults.
    StdOut().InOutOp = FaultingFlush;
    StdOut().FlushOp = nullptr;
    WriteStr(0, StdOut(), ShortStringOf("pending"));
  }
  if (Is("argument-0")) {
    WriteStr(0, StdOut(), ParamStr(0));
    EndWrite(StdOut());
  }
  DoExit();
}

int main(int argc, char** argv) {
  if (argc > 1) Scenario = argv[1];
  if (Is("heap-exhausted")) HeapReallocate = NoMemory;
  ProgramEntry(argc, argv, ProbeDriver);
}
