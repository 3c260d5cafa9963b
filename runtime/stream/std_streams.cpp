#include <string.h>

#include "runtime/memory/memory.h"
#include "runtime/stream/text_stream.h"

// The standard handles are shared by all threads; 0 until fetched.
static PlatformHandle StdInputHandle;
static PlatformHandle StdOutputHandle;
static PlatformHandle StdErrorHandle;

// The three standard streams of one thread.
struct ThreadStreams {
  TextStream In;
  TextStream Out;
  TextStream Err;
};

// Each thread has streams of its own, reached through one pointer per
// thread. The main thread's sit in static storage. Another thread gets
// never-opened copies from the heap when it first asks, kept until the
// process ends. The records themselves are not thread-local: at nearly 900
// bytes they would make the C library map a block of thread-local storage
// for every run, about a tenth of the cost of one.
static ThreadStreams MainThreadStreams;
static thread_local ThreadStreams* CallingThreadStreams;

// What a thread sees while its copies are being made, and for good if the
// heap cannot give them; the program then ends with a heap overflow, whose
// report the never-opened streams cannot write, as on any other thread.
static ThreadStreams StreamsNotOpened;

static ThreadStreams& StreamsOfCallingThread() {
  if (CallingThreadStreams == nullptr) {
    CallingThreadStreams = &StreamsNotOpened;
    auto* copies = static_cast<ThreadStreams*>(GetMem(sizeof(ThreadStreams)));
    memset(copies, 0, sizeof *copies);
    CallingThreadStreams = copies;
  }
  return *CallingThreadStreams;
}

TextStream& StdIn() { return StreamsOfCallingThread().In; }
TextStream& StdOut() { return StreamsOfCallingThread().Out; }
TextStream& StdErr() { return StreamsOfCallingThread().Err; }

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
  CallingThreadStreams = &MainThreadStreams;
  FetchStdHandle(StdInputHandle, StdInputHandleId);
  FetchStdHandle(StdOutputHandle, StdOutputHandleId);
  FetchStdHandle(StdErrorHandle, StdErrorHandleId);
  OpenStdStream(MainThreadStreams.In, ModeInput, StdInputHandle);
  OpenStdStream(MainThreadStreams.Out, ModeOutput, StdOutputHandle);
  OpenStdStream(MainThreadStreams.Err, ModeOutput, StdErrorHandle);
}

void FlushStdStreams() {
  ThreadStreams& streams = StreamsOfCallingThread();
  if (streams.Out.Mode == ModeOutput) FlushStream(streams.Out);
  if (streams.Err.Mode == ModeOutput) FlushStream(streams.Err);
}
