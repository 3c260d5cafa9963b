#include <string.h>

#include "runtime/stream/text_stream.h"

// The standard handles are shared by all threads; 0 until fetched.
static PlatformHandle StdInputHandle;
static PlatformHandle StdOutputHandle;
static PlatformHandle StdErrorHandle;

static thread_local TextStream StdInStream;
static thread_local TextStream StdOutStream;
static thread_local TextStream StdErrStream;

TextStream& StdIn() { return StdInStream; }
TextStream& StdOut() { return StdOutStream; }
TextStream& StdErr() { return StdErrStream; }

// Compares with the stored values only: a standard handle that the system
// gave as invalid still counts, and its first write fails.
bool IsStdHandle(PlatformHandle handle) {
  return handle == StdInputHandle || handle == StdOutputHandle || handle == StdErrorHandle;
}

void OpenStdStream(TextStream& stream, int32_t mode, PlatformHandle handle) {
  memset(&stream, 0, sizeof stream);
  stream.Handle = -1;
  stream.Mode = ModeClosed;
  stream.BufSize = TextBufferSize;
  stream.BufPos = 0;
  stream.LineEndLength = 2;
  stream.LineEnd[0] = '\r';
  stream.LineEnd[1] = '\n';

  stream.Handle = handle;
  stream.Mode = mode;
  if (mode == ModeOutput) {
    stream.InOutOp = FlushBuffer;
    stream.FlushOp = IsStdHandle(handle) ? FlushBuffer : nullptr;
  }
  // An input stream would get its read operation here; nothing reads.
}

static void FetchStdHandle(PlatformHandle& stored, int32_t handleId) {
  if (stored == 0) stored = PlatformGetStdHandle(handleId);
}

void SetupStdStreams() {
  FetchStdHandle(StdInputHandle, StdInputHandleId);
  FetchStdHandle(StdOutputHandle, StdOutputHandleId);
  FetchStdHandle(StdErrorHandle, StdErrorHandleId);
  OpenStdStream(StdInStream, ModeInput, StdInputHandle);
  OpenStdStream(StdOutStream, ModeOutput, StdOutputHandle);
  OpenStdStream(StdErrStream, ModeOutput, StdErrorHandle);
}

void FlushStdStreams() {
  if (StdOutStream.Mode == ModeOutput) FlushStream(StdOutStream);
  if (StdErrStream.Mode == ModeOutput) FlushStream(StdErrStream);
}
