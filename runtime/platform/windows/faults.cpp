// Windows: processor faults arrive as exceptions that nothing else handles,
// through the unhandled-exception filter. Their codes are those of the fault
// table already.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "runtime/platform/platform.h"

static FaultHandler InstalledHandler;

// Stack kept back for the filter when the stack overflows: the system's
// exception dispatch, the report and the end of the process run on it.
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

// The system grows a stack page by page through a guard page below its
// committed part, and raises the overflow once the guard page reaches the
// reserve. Where the whole stack is committed up front, as under wine, the
// guard page sits at the very bottom from the start and the overflow comes
// with only a page left, too little to handle it. A guard page of our own
// just above the reserve brings it in time. On Windows itself that part
// of the stack is not yet committed, and nothing is changed.
static void GuardStackReserve(ULONG reserve) {
  MEMORY_BASIC_INFORMATION stack;
  if (VirtualQuery(&stack, &stack, sizeof stack) == 0) return;
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  char* guard = static_cast<char*>(stack.AllocationBase) + system.dwPageSize + reserve;
  MEMORY_BASIC_INFORMATION page;
  if (VirtualQuery(guard, &page, sizeof page) == 0 || page.State != MEM_COMMIT ||
      (page.Protect & PAGE_GUARD) != 0 || guard >= reinterpret_cast<char*>(&stack))
    return;
  DWORD previous;
  VirtualProtect(guard, system.dwPageSize, PAGE_READWRITE | PAGE_GUARD, &previous);
}

void PlatformInstallFaultHandler(FaultHandler handler) {
  InstalledHandler = handler;
  ULONG reserve = StackOverflowReserve;
  SetThreadStackGuarantee(&reserve);
  GuardStackReserve(StackOverflowReserve);
  SetUnhandledExceptionFilter(OnUnhandledException);
}

void PlatformRemoveFaultHandler() {
  InstalledHandler = nullptr;
  SetUnhandledExceptionFilter(nullptr);
}
