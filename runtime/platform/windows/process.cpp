// Windows: the process, its command line and its standard handles, over
// kernel32.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "runtime/platform/platform.h"

static HANDLE AsHandle(PlatformHandle handle) { return reinterpret_cast<HANDLE>(handle); }

void PlatformPrepareProcess() {
  // Neither a fault nor a missing drive or file may stop the program on a
  // dialog box: a console program ends, and says why on standard error.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
}

void PlatformExitProcess(int32_t exitCode) { ExitProcess(static_cast<UINT>(exitCode)); }

// The arguments are split from the command line itself, by our own rules,
// not by the C library's.
void PlatformKeepArguments(int, char**) {}

uint32_t PlatformModuleFileName(char* buffer, uint32_t size) {
  return GetModuleFileNameA(nullptr, buffer, size);
}

const char* PlatformCommandLine() { return GetCommandLineA(); }

// Never asked for: the command line above is always at hand.
int32_t PlatformArgumentVector(char* const** vector) {
  *vector = nullptr;
  return 0;
}

// The ids -10, -11 and -12 are STD_INPUT_HANDLE, STD_OUTPUT_HANDLE and
// STD_ERROR_HANDLE themselves.
PlatformHandle PlatformGetStdHandle(int32_t handleId) {
  return reinterpret_cast<PlatformHandle>(GetStdHandle(static_cast<DWORD>(handleId)));
}

bool PlatformWriteFile(PlatformHandle handle, const uint8_t* bytes, int32_t count,
                       int32_t& written) {
  DWORD reported = 0;
  const BOOL ok = WriteFile(AsHandle(handle), bytes, static_cast<DWORD>(count), &reported, nullptr);
  written = static_cast<int32_t>(reported);  // WriteFile sets it to 0 before it starts
  return ok != FALSE;
}

bool PlatformIsConsole(PlatformHandle handle) {
  DWORD mode;
  return GetConsoleMode(AsHandle(handle), &mode) != FALSE;
}

uint32_t PlatformConsoleOutputCodePage() { return GetConsoleOutputCP(); }
