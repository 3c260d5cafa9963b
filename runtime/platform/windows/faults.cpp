// Windows: processor faults arrive as exceptions that nothing else handles,
// through the unhandled-exception filter. Their codes are those of the fault
// table already.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "runtime/platform/platform.h"

static FaultHandler InstalledHandler;

// Stack kept back for the filter when the stack overflows: it writes the
// report and ends the process on the thread that faulted.
constexpr ULONG StackOverflowReserve = 64 * 1024;

static LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* exception) {
  if (InstalledHandler == nullptr) return EXCEPTION_CONTINUE_SEARCH;
  const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
  const CONTEXT& context = *exception->ContextRecord;
  FaultInfo fault{};
  fault.ExceptionCode = record.ExceptionCode;
  fault.Address = reinterpret_cast<CodeAddress>(record.ExceptionAddress);
#if defined(__x86_64__)
  fault.Frame = static_cast<StackFrame>(context.Rbp);
  fault.StackPointer = static_cast<uintptr_t>(context.Rsp);
#elif defined(__i386__)
  fault.Frame = static_cast<StackFrame>(context.Ebp);
  fault.StackPointer = static_cast<uintptr_t>(context.Esp);
#else
#error "no fault context for this processor"
#endif
  InstalledHandler(fault);  // does not return
  return EXCEPTION_CONTINUE_SEARCH;
}

void PlatformInstallFaultHandler(FaultHandler handler) {
  InstalledHandler = handler;
  ULONG reserve = StackOverflowReserve;
  SetThreadStackGuarantee(&reserve);
  SetUnhandledExceptionFilter(OnUnhandledException);
}

void PlatformRemoveFaultHandler() {
  InstalledHandler = nullptr;
  SetUnhandledExceptionFilter(nullptr);
}
