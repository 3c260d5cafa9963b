// The classic frame record, kept by every routine built with frame pointers
// on POSIX systems and on 32-bit Windows: the frame pointer points at the
// caller's frame, and the return address into the caller follows it.
#include "runtime/platform/platform.h"

void PlatformCallerOf(CodeAddress, StackFrame frame, uintptr_t, CodeAddress& callerAddress,
                      StackFrame& callerFrame) {
  const StackFrame* record = reinterpret_cast<const StackFrame*>(frame);
  callerFrame = record[0];
  callerAddress = record[1];
}
