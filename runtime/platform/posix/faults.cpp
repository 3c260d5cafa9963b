// POSIX: processor faults arrive as signals. They are handled on a stack of
// their own, so that a stack overflow can be reported too, and are mapped
// onto the Windows exception codes that the fault table speaks of.
#include <signal.h>
#include <ucontext.h>

#include "runtime/platform/platform.h"

constexpr uint32_t StatusAccessViolation = 0xC0000005;
constexpr uint32_t StatusIllegalInstruction = 0xC000001D;
constexpr uint32_t StatusArrayBoundsExceeded = 0xC000008C;
constexpr uint32_t StatusFloatDivideByZero = 0xC000008E;
constexpr uint32_t StatusFloatInexactResult = 0xC000008F;
constexpr uint32_t StatusFloatInvalidOperation = 0xC0000090;
constexpr uint32_t StatusFloatOverflow = 0xC0000091;
constexpr uint32_t StatusFloatUnderflow = 0xC0000093;
constexpr uint32_t StatusIntegerDivideByZero = 0xC0000094;
constexpr uint32_t StatusIntegerOverflow = 0xC0000095;
constexpr uint32_t StatusPrivilegedInstruction = 0xC0000096;
constexpr uint32_t StatusStackOverflow = 0xC00000FD;

static constexpr int FaultSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE};

static FaultHandler InstalledHandler;
alignas(16) static char FaultStack[64 * 1024];

// A stack overflow faults at or just below the stack pointer, or within the
// frame that a large `sub` has just claimed above it.
constexpr uintptr_t StackOverflowReachBelow = uintptr_t{64} * 1024;
constexpr uintptr_t StackOverflowReachAbove = uintptr_t{1024} * 1024;

static bool IsStackOverflow(uintptr_t faultAddress, uintptr_t stackPointer) {
  return faultAddress + StackOverflowReachBelow >= stackPointer &&
         faultAddress < stackPointer + StackOverflowReachAbove;
}

static uint32_t ExceptionCodeOf(int signalNumber, const siginfo_t& info, uintptr_t stackPointer) {
  switch (signalNumber) {
    case SIGSEGV:
      return IsStackOverflow(reinterpret_cast<uintptr_t>(info.si_addr), stackPointer)
                 ? StatusStackOverflow
                 : StatusAccessViolation;
    case SIGILL:
      return info.si_code == ILL_PRVOPC ? StatusPrivilegedInstruction : StatusIllegalInstruction;
    case SIGFPE:
      switch (info.si_code) {
        case FPE_INTDIV:
          return StatusIntegerDivideByZero;
        case FPE_INTOVF:
          return StatusIntegerOverflow;
        case FPE_FLTDIV:
          return StatusFloatDivideByZero;
        case FPE_FLTOVF:
          return StatusFloatOverflow;
        case FPE_FLTUND:  // the kernel reports a denormal operand as this too
          return StatusFloatUnderflow;
        case FPE_FLTRES:
          return StatusFloatInexactResult;
        case FPE_FLTSUB:
          return StatusArrayBoundsExceeded;
        default:
          return StatusFloatInvalidOperation;
      }
    default:  // SIGBUS: a bad memory access as well
      return StatusAccessViolation;
  }
}

// The faulting instruction, the frame and the stack pointer at the fault.
static void ReadContext(const ucontext_t& context, FaultInfo& fault) {
#if defined(__x86_64__)
  fault.Address = static_cast<CodeAddress>(context.uc_mcontext.gregs[REG_RIP]);
  fault.Frame = static_cast<StackFrame>(context.uc_mcontext.gregs[REG_RBP]);
  fault.StackPointer = static_cast<uintptr_t>(context.uc_mcontext.gregs[REG_RSP]);
#elif defined(__i386__)
  fault.Address = static_cast<CodeAddress>(context.uc_mcontext.gregs[REG_EIP]);
  fault.Frame = static_cast<StackFrame>(context.uc_mcontext.gregs[REG_EBP]);
  fault.StackPointer = static_cast<uintptr_t>(context.uc_mcontext.gregs[REG_ESP]);
#elif defined(__aarch64__)
  fault.Address = static_cast<CodeAddress>(context.uc_mcontext.pc);
  fault.Frame = static_cast<StackFrame>(context.uc_mcontext.regs[29]);
  fault.StackPointer = static_cast<uintptr_t>(context.uc_mcontext.sp);
#else
#error "no fault context for this processor"
#endif
}

static void OnFaultSignal(int signalNumber, siginfo_t* info, void* context) {
  if (InstalledHandler == nullptr) {
    // Removed: the system's own handling takes the fault when it recurs.
    signal(signalNumber, SIG_DFL);
    return;
  }
  FaultInfo fault{};
  ReadContext(*static_cast<const ucontext_t*>(context), fault);
  fault.ExceptionCode = ExceptionCodeOf(signalNumber, *info, fault.StackPointer);
  InstalledHandler(fault);
}

void PlatformInstallFaultHandler(FaultHandler handler) {
  InstalledHandler = handler;

  stack_t faultStack{};
  faultStack.ss_sp = FaultStack;
  faultStack.ss_size = sizeof FaultStack;
  sigaltstack(&faultStack, nullptr);

  struct sigaction action {};
  action.sa_sigaction = OnFaultSignal;
  // On the fault stack; and not deferred, so that a fault in the handling
  // itself reaches the handler instead of killing the process.
  action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_NODEFER;
  sigemptyset(&action.sa_mask);
  for (int signalNumber : FaultSignals) sigaction(signalNumber, &action, nullptr);
}

// No system call: the handler, finding none installed, hands the fault back.
void PlatformRemoveFaultHandler() { InstalledHandler = nullptr; }
