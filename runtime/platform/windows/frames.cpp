// 64-bit Windows: one step up the chain of frames.
//
// 64-bit code does not keep the classic frame record that 32-bit code
// keeps: the frame pointer may point anywhere into the frame, within 240
// bytes of its bottom, and the function table that every 64-bit executable
// carries describes where each routine saved its caller's registers. The
// step then follows that table, as the system's own exception dispatch does.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "runtime/platform/platform.h"

#if defined(__x86_64__)

void PlatformCallerOf(CodeAddress address, StackFrame frame, uintptr_t stackPointer,
                      CodeAddress& callerAddress, StackFrame& callerFrame) {
  callerAddress = 0;
  callerFrame = 0;
  DWORD64 imageBase;
  RUNTIME_FUNCTION* function = RtlLookupFunctionEntry(address, &imageBase, nullptr);
  if (function == nullptr) return;  // not a routine of any loaded image

  // The registers the unwinding needs: where the routine was, its frame
  // pointer, and its stack pointer for a place still in its prologue.
  CONTEXT context{};
  context.Rip = address;
  context.Rbp = frame;
  context.Rsp = stackPointer;
  void* handlerData;
  DWORD64 establisherFrame;
  RtlVirtualUnwind(UNW_FLAG_NHANDLER, imageBase, address, function, &context, &handlerData,
                   &establisherFrame, nullptr);
  callerAddress = context.Rip;
  callerFrame = context.Rbp;
}

#else
#error "64-bit Windows only: other code keeps the classic frame record"
#endif
