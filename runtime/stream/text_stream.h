// Buffered text streams on the standard handles.
//
// Output is built from statements: items put into the stream's buffer, then
// an end call (EndWrite, or EndWriteLine with CR LF) that hands the statement
// to the operating system. Bytes are written unchanged. A failed write sets
// IoResult, and while IoResult is set further writes do nothing.
#pragma once

#include <stdint.h>

#include "runtime/platform/platform.h"
#include "runtime/short_string.h"

constexpr int32_t ModeClosed = 0xD7B0;
constexpr int32_t ModeInput = 0xD7B1;
constexpr int32_t ModeOutput = 0xD7B2;

constexpr int32_t TextBufferSize = 256;

// I/O errors kept in IoResult.
constexpr uint16_t IoErrorWriteFailed = 101;
constexpr uint16_t IoErrorNotOpen = 103;
constexpr uint16_t IoErrorNotOpenForOutput = 105;

struct TextStream;
using StreamOp = void (*)(TextStream& stream);

struct TextStream {
  PlatformHandle Handle;
  int32_t Mode;
  int32_t BufSize;
  int32_t BufPos;    // bytes waiting: the first BufPos bytes of Buffer
  StreamOp InOutOp;  // empties the buffer when a put needs more room
  StreamOp FlushOp;  // run at the end of every statement, if set
  uint8_t LineEndLength;
  uint8_t LineEnd[3];  // appended by EndWriteLine: CR LF
  uint8_t Buffer[TextBufferSize];
};

// The pending I/O error of the calling thread, 0 when none.
extern thread_local uint16_t IoResult;

// The calling thread's standard streams.
TextStream& StdIn();
TextStream& StdOut();
TextStream& StdErr();

void WriteStr(int32_t width, TextStream& stream, const ShortString& text);
void WriteInt(int32_t width, TextStream& stream, int32_t value);
void WriteUInt(int32_t width, TextStream& stream, uint32_t value);
void EndWrite(TextStream& stream);
void EndWriteLine(TextStream& stream);

void FlushBuffer(TextStream& stream);
void FlushStream(TextStream& stream);
void OpenStdStream(TextStream& stream, int32_t mode, PlatformHandle handle);
bool IsStdHandle(PlatformHandle handle);

// Start-up, on the main thread: fetches the standard handles and opens the
// three streams.
void SetupStdStreams();
// Exit: writes what still waits in StdOut and StdErr.
void FlushStdStreams();

// One hand-over to the operating system; gives the count written. A short
// count on a console whose output code page is a Unicode one counts as
// complete, since such consoles report characters, not bytes.
int32_t WriteBlock(PlatformHandle handle, const uint8_t* bytes, int32_t count);
bool ShortConsoleWriteIsComplete(uint32_t consoleOutputCodePage);
