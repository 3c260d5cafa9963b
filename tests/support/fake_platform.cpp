#include "tests/support/fake_platform.h"

#include <stdio.h>
#include <stdlib.h>

FakePlatformState FakePlatform;

void ResetFakePlatform() { FakePlatform = FakePlatformState{}; }

void PlatformPrepareProcess() {}

void PlatformExitProcess(int32_t exitCode) {
  fprintf(stderr, "unit test reached the end of the process (exit code %d)\n", exitCode);
  abort();
}

void PlatformKeepArguments(int, char**) {}
uint32_t PlatformModuleFileName(char*, uint32_t) { return 0; }
const char* PlatformCommandLine() { return ""; }
int32_t PlatformArgumentVector(char* const** vector) {
  *vector = nullptr;
  return 0;
}

// Handles are their own ids, so a test can tell the three apart.
PlatformHandle PlatformGetStdHandle(int32_t handleId) { return handleId; }

bool PlatformWriteFile(PlatformHandle handle, const uint8_t* bytes, int32_t count,
                       int32_t& written) {
  const int index = static_cast<int>(FakePlatform.Writes.size());
  FakePlatform.Writes.push_back(
      {handle, std::string(reinterpret_cast<const char*>(bytes), static_cast<size_t>(count))});
  if (FakePlatform.FailWritesFrom >= 0 && index >= FakePlatform.FailWritesFrom) {
    written = 0;
    return false;
  }
  written = count > FakePlatform.ShortenWritesBy ? count - FakePlatform.ShortenWritesBy : 0;
  return true;
}

bool PlatformIsConsole(PlatformHandle) { return FakePlatform.Console; }
uint32_t PlatformConsoleOutputCodePage() { return FakePlatform.ConsoleCodePage; }

void PlatformInstallFaultHandler(FaultHandler) {}
void PlatformRemoveFaultHandler() {}
