// POSIX: every routine keeps a frame pointer, and the frame record it
// points at holds the caller's frame and then the return address.
#include "runtime/platform/platform.h"

void PlatformCallerOf(CodeAddress, StackFrame frame, uintptr_t, CodeAddress& callerAddress,
                      StackFrame& callerFrame) {
  const StackFrame* record = reinterpret_cast<const StackFrame*>(frame);
  callerFrame = record[0];
  callerAddress = record[1];
}
