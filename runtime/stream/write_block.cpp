#include "runtime/stream/text_stream.h"

// Consoles with these output code pages report characters, not bytes, so
// their count of a complete write can fall short of the byte count.
bool ShortConsoleWriteIsComplete(uint32_t consoleOutputCodePage) {
  switch (consoleOutputCodePage) {
    case 1200:
    case 1201:
    case 12000:
    case 12001:
    case 65000:
    case 65001:
      return true;
    default:
      return false;
  }
}

int32_t WriteBlock(PlatformHandle handle, const uint8_t* bytes, int32_t count) {
  int32_t written = 0;
  if (!PlatformWriteFile(handle, bytes, count, written)) return written;
  if (written < count && PlatformIsConsole(handle) &&
      ShortConsoleWriteIsComplete(PlatformConsoleOutputCodePage()))
    return count;
  return written;
}
