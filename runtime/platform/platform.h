// The platform seam: every operating-system call the run-time makes goes
// through these functions. There is one implementation for POSIX systems and
// one for Windows over kernel32; everything above this header is shared.
#pragma once

#include <stdint.h>

// An operating-system handle: a file descriptor on POSIX, a HANDLE on Windows.
using PlatformHandle = intptr_t;

// Where code runs and which stack frame it runs in.
using CodeAddress = uintptr_t;
using StackFrame = uintptr_t;

// --- Process -------------------------------------------------------------

// Sets up the process as a console program that never stops on its own
// account: a broken pipe is a failed write, and no error dialog is shown.
void PlatformPrepareProcess();

[[noreturn]] void PlatformExitProcess(int32_t exitCode);

// --- Arguments -----------------------------------------------------------

// The C library's argument vector; a platform that reads its command line
// from the operating system ignores it.
void PlatformKeepArguments(int argc, char** argv);

// The path of the program's own executable: copies at most `size` bytes into
// `buffer` without a terminator and gives the count, 0 on failure.
uint32_t PlatformModuleFileName(char* buffer, uint32_t size);

// The raw command-line text, or null where the platform hands over the
// arguments already split (then PlatformArgumentVector gives them).
const char* PlatformCommandLine();

// The argument vector: its length, and in `vector` its entries. Entry 0 is
// the program's name as started, which is not stored as an argument.
int32_t PlatformArgumentVector(char* const** vector);

// --- Standard handles and writing ------------------------------------------

constexpr int32_t StdInputHandleId = -10;
constexpr int32_t StdOutputHandleId = -11;
constexpr int32_t StdErrorHandleId = -12;

PlatformHandle PlatformGetStdHandle(int32_t handleId);

// One write call: true when the call succeeded; `written` gets the count the
// system reported (0 for a failed call).
bool PlatformWriteFile(PlatformHandle handle, const uint8_t* bytes, int32_t count,
                       int32_t& written);

// Whether the handle is a console, and the console's output code page
// (0 where the platform has no console code pages).
bool PlatformIsConsole(PlatformHandle handle);
uint32_t PlatformConsoleOutputCodePage();

// --- Faults --------------------------------------------------------------

// What the platform knows of a processor fault: its exception code in the
// Windows numbering, the faulting instruction, the frame of the routine that
// faulted and the stack pointer at the fault.
struct FaultInfo {
  uint32_t ExceptionCode;
  CodeAddress Address;
  StackFrame Frame;
  uintptr_t StackPointer;
};

using FaultHandler = void (*)(const FaultInfo& fault);

// From installation on, every processor fault is handed to `handler`, which
// does not return. Removal restores the system's own handling.
void PlatformInstallFaultHandler(FaultHandler handler);
void PlatformRemoveFaultHandler();

// --- Frames --------------------------------------------------------------

// One step up the chain of frames, from a routine to its caller. Given a
// code address in the routine, the routine's frame and the lowest stack
// address the routine was using, gives the return address into the caller
// and the caller's frame; both are 0 when they cannot be found. Called only
// with frames that lie within the stack in use.
void PlatformCallerOf(CodeAddress address, StackFrame frame, uintptr_t stackPointer,
                      CodeAddress& callerAddress, StackFrame& callerFrame);
