#include "runtime/args/argument_list.h"
#include "runtime/exit/termination.h"

int32_t ExitCode;
uint16_t RunErrorNumber;
bool RunErrorPending;
CodeAddress RunErrorAddress;
StackFrame RunErrorFrame;
uintptr_t RunErrorStackLow;
volatile bool ExitInProgress;

// A routine's frame record begins with its caller's frame.
static StackFrame CallerFrameOf(void* ownFrame) { return *static_cast<StackFrame*>(ownFrame); }

// Not inlined: the return address of this call is the place of the error.
__attribute__((noinline)) void IoCheck() {
  if (IoResult == 0) return;
  const uint16_t number = IoResult;
  IoResult = 0;  // so that the report can be written
  void* ownFrame = __builtin_frame_address(0);
  RunErrorAt(number, reinterpret_cast<CodeAddress>(__builtin_return_address(0)),
             CallerFrameOf(ownFrame), reinterpret_cast<uintptr_t>(ownFrame));
}

__attribute__((noinline)) void RunError(uint32_t number) {
  void* ownFrame = __builtin_frame_address(0);
  RunErrorAt(number, reinterpret_cast<CodeAddress>(__builtin_return_address(0)),
             CallerFrameOf(ownFrame), reinterpret_cast<uintptr_t>(ownFrame));
}

void RunErrorAt(uint32_t number, CodeAddress address, StackFrame frame, uintptr_t stackLow) {
  RunErrorNumber = static_cast<uint16_t>(number);
  RunErrorAddress = address;
  RunErrorFrame = frame;
  RunErrorStackLow = stackLow;
  RunErrorPending = true;
  Halt(RunErrorNumber);
}

void Halt(int32_t exitCode) {
  ExitCode = exitCode;
  DoExit();
}

// Nothing here looks at IoResult: a report or a flush that cannot be
// written is lost, and the exit code stays what it is.
void DoExit() {
  ExitInProgress = true;
  if (RunErrorPending) WriteRunErrorReport();
  FlushStdStreams();
  ReleaseArgumentList();
  PlatformRemoveFaultHandler();
  PlatformExitProcess(ExitCode);
}
