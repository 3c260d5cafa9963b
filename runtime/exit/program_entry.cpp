#include <fenv.h>

#include "runtime/args/argument_list.h"
#include "runtime/exit/termination.h"

StackFrame StackTop;

void ProgramEntry(int argc, char** argv, Driver driver) {
  // The driver is called from here, so the frames of every run-time error
  // lie below this one: the report's caller lines end with this routine.
  StackTop = reinterpret_cast<StackFrame>(__builtin_frame_address(0));
  PlatformPrepareProcess();
  PlatformKeepArguments(argc, argv);
  PlatformInstallFaultHandler(FaultFilter);
  driver();
  DoExit();
}

void InitRuntime() {
  // The default environment masks every floating-point exception, so no
  // floating-point operation can fault.
  fesetenv(FE_DFL_ENV);
  SetupStdStreams();
  BuildArgumentList();
  IoResult = 0;
}
