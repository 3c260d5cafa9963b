// Start-up, the ways the program ends, and the run-time error report.
//
// Every ending goes through DoExit: the driver's normal end, Halt, and
// RunError, which the I/O check, the heap and the fault filter raise. A
// run-time error ends the process with its number as exit code and leaves
// a report on standard error.
#pragma once

#include <stdint.h>

#include "runtime/platform/platform.h"
#include "runtime/stream/text_stream.h"

using Driver = void (*)();

// The process entry behind main: prepares the process, installs the fault
// filter and calls the driver, which never returns.
[[noreturn]] void ProgramEntry(int argc, char** argv, Driver driver);

// The driver's first action: floating-point set-up, standard streams,
// argument list, and a clean IoResult.
void InitRuntime();

// Turns a pending I/O error into a run-time error at the place of the call.
void IoCheck();

[[noreturn]] void Halt(int32_t exitCode);
[[noreturn]] void DoExit();

// Ends the program with run-time error `number`, placed at the call of
// RunError (the return address in the caller, and the caller's frame).
// Does not return, but is not declared [[noreturn]]: the compiler then
// keeps code behind each call, so the return address stays inside the
// caller and names it.
void RunError(uint32_t number);

// The same at an explicit place. `stackLow` is the lowest address in use on
// the stack the frames belong to; the caller lines never read below it.
[[noreturn]] void RunErrorAt(uint32_t number, CodeAddress address, StackFrame frame,
                             uintptr_t stackLow);

extern int32_t ExitCode;
extern uint16_t RunErrorNumber;
extern bool RunErrorPending;
extern CodeAddress RunErrorAddress;
extern StackFrame RunErrorFrame;
extern uintptr_t RunErrorStackLow;    // the caller lines read nothing below it
extern volatile bool ExitInProgress;  // set once DoExit has begun

// The frame of ProgramEntry: every walk up the frame chain ends below it.
extern StackFrame StackTop;

constexpr int32_t CallerLineLimit = 8;

void WriteRunErrorReport();
void WriteCallerLines(TextStream& stream, CodeAddress address, StackFrame frame);
ShortString HexAddress(CodeAddress address);

// The run-time error number for a processor fault's exception code.
uint16_t FaultErrorNumber(uint32_t exceptionCode);
void FaultFilter(const FaultInfo& fault);
