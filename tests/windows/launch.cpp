// msgcode_launch: starts a program with an exact command line and ends with
// its exit code.
//
//   msgcode_launch <program> <command line in hexadecimal>
//
// The command line is given as hexadecimal digits, two to a byte, so that
// every byte from 1 to 255 reaches CreateProcessA as it is, untouched by
// the quoting rules of any shell or C run-time on the way; an empty
// second argument is the empty command line. The program inherits the
// launcher's standard handles.
#define WIN32_LEAN_AND_MEAN
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

// Exit codes of the launcher's own failures, above any that msgcode gives.
constexpr int UsageFailure = 250;
constexpr int StartFailure = 251;

static int HexValue(char digit) {
  if (digit >= '0' && digit <= '9') return digit - '0';
  if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
  if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
  return -1;
}

// Decodes `hex` into `bytes`, ended by NUL; false when it is not an even
// number of digits or holds a NUL byte.
static bool DecodeHex(const char* hex, char* bytes) {
  const size_t length = strlen(hex);
  if (length % 2 != 0) return false;
  for (size_t i = 0; i < length; i += 2) {
    const int high = HexValue(hex[i]);
    const int low = HexValue(hex[i + 1]);
    if (high < 0 || low < 0 || (high == 0 && low == 0)) return false;
    bytes[i / 2] = static_cast<char>(high * 16 + low);
  }
  bytes[length / 2] = '\0';
  return true;
}

// The child gets the standard handles through STARTUPINFO; they must be
// inheritable for that.
static HANDLE InheritableStdHandle(DWORD id) {
  HANDLE handle = GetStdHandle(id);
  if (handle != nullptr && handle != INVALID_HANDLE_VALUE)
    SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  return handle;
}

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: msgcode_launch <program> <command line in hexadecimal>\n");
    return UsageFailure;
  }
  char* commandLine = static_cast<char*>(malloc(strlen(argv[2]) / 2 + 1));
  if (commandLine == nullptr || !DecodeHex(argv[2], commandLine)) {
    fprintf(stderr, "msgcode_launch: bad command line: %s\n", argv[2]);
    return UsageFailure;
  }

  STARTUPINFOA startup;
  memset(&startup, 0, sizeof startup);
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = InheritableStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = InheritableStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = InheritableStdHandle(STD_ERROR_HANDLE);

  PROCESS_INFORMATION process;
  if (!CreateProcessA(argv[1], commandLine, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &process)) {
    fprintf(stderr, "msgcode_launch: cannot start %s (error %lu)\n", argv[1], GetLastError());
    return StartFailure;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exitCode = StartFailure;
  GetExitCodeProcess(process.hProcess, &exitCode);
  return static_cast<int>(exitCode);
}
