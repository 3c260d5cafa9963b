// POSIX: the process, its arguments and its standard handles.
#include <errno.h>
#include <signal.h>
#include <string.h>
#include <sys/auxv.h>
#include <unistd.h>

#include "runtime/platform/platform.h"

static int ArgumentVectorLength;
static char** ArgumentVectorEntries;

void PlatformPrepareProcess() {
  // A write to a pipe without a reader must fail like any other write, not
  // end the process in silence.
  signal(SIGPIPE, SIG_IGN);
}

void PlatformExitProcess(int32_t exitCode) { _exit(exitCode); }

void PlatformKeepArguments(int argc, char** argv) {
  ArgumentVectorLength = argc;
  ArgumentVectorEntries = argv;
}

// A full path to the executable, and no file opened. The path the program
// was started by, when it is a full one (as when a shell finds it in PATH):
// the kernel hands it over with the process, so it costs no call.
// Otherwise the kernel's own link to the executable, a walk through /proc.
uint32_t PlatformModuleFileName(char* buffer, uint32_t size) {
  const char* started = reinterpret_cast<const char*>(getauxval(AT_EXECFN));
  if (started != nullptr && started[0] == '/') {
    const size_t length = strnlen(started, size);
    memcpy(buffer, started, length);
    return static_cast<uint32_t>(length);
  }
  const ssize_t length = readlink("/proc/self/exe", buffer, size);
  return length > 0 ? static_cast<uint32_t>(length) : 0;
}

// The arguments arrive split by the C library's start-up.
const char* PlatformCommandLine() { return nullptr; }

int32_t PlatformArgumentVector(char* const** vector) {
  *vector = ArgumentVectorEntries;
  return ArgumentVectorLength;
}

PlatformHandle PlatformGetStdHandle(int32_t handleId) {
  switch (handleId) {
    case StdInputHandleId:
      return STDIN_FILENO;
    case StdOutputHandleId:
      return STDOUT_FILENO;
    case StdErrorHandleId:
      return STDERR_FILENO;
    default:
      return -1;
  }
}

bool PlatformWriteFile(PlatformHandle handle, const uint8_t* bytes, int32_t count,
                       int32_t& written) {
  ssize_t result;
  do {
    result = write(static_cast<int>(handle), bytes, static_cast<size_t>(count));
  } while (result < 0 && errno == EINTR);  // interrupted before it wrote anything
  written = result < 0 ? 0 : static_cast<int32_t>(result);
  return result >= 0;
}

// Terminals here take bytes and count bytes: there are no console code pages.
bool PlatformIsConsole(PlatformHandle) { return false; }
uint32_t PlatformConsoleOutputCodePage() { return 0; }
