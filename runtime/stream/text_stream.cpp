#include "runtime/stream/text_stream.h"

#include <string.h>

thread_local uint16_t IoResult;

// Appends `count` bytes to the waiting ones: copied from `bytes`, or blanks
// when `bytes` is null. The caller has made sure that they fit.
static void Fill(TextStream& stream, const uint8_t* bytes, int32_t count) {
  if (bytes != nullptr)
    memcpy(stream.Buffer + stream.BufPos, bytes, static_cast<size_t>(count));
  else
    memset(stream.Buffer + stream.BufPos, ' ', static_cast<size_t>(count));
  stream.BufPos += count;
}

// Puts `count` bytes into the buffer. When the buffer cannot take them all,
// it is filled to the brim and emptied by InOutOp as often as needed. A
// buffer that has just become exactly full stays waiting: a later put or the
// statement end sends it.
static void PutFilled(TextStream& stream, const uint8_t* bytes, int32_t count) {
  int32_t room = stream.BufSize - stream.BufPos;
  while (count > room) {
    Fill(stream, bytes, room);
    if (bytes != nullptr) bytes += room;
    count -= room;
    stream.InOutOp(stream);
    room = stream.BufSize - stream.BufPos;
  }
  Fill(stream, bytes, count);
}

static void PutBytes(TextStream& stream, const uint8_t* bytes, int32_t count) {
  PutFilled(stream, bytes, count);
}

static void PutBlanks(TextStream& stream, int32_t count) { PutFilled(stream, nullptr, count); }

// Records why a stream that is not open for output refused a write.
static void RefuseWrite(const TextStream& stream) {
  IoResult = stream.Mode == ModeInput ? IoErrorNotOpenForOutput : IoErrorNotOpen;
}

void WriteStr(int32_t width, TextStream& stream, const ShortString& text) {
  if (IoResult != 0) return;
  if (stream.Mode != ModeOutput) {
    RefuseWrite(stream);
    return;
  }
  if (text.Length < width) PutBlanks(stream, width - text.Length);
  PutBytes(stream, reinterpret_cast<const uint8_t*>(text.Bytes), text.Length);
}

// Decimal digits of `magnitude`, most significant first, behind a minus sign
// when `negative`; at most 11 bytes.
static void FormatDecimal(ShortString& text, bool negative, uint32_t magnitude) {
  char digits[10];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  text.Length = 0;
  if (negative) text.Bytes[text.Length++] = '-';
  while (count > 0) text.Bytes[text.Length++] = digits[--count];
}

void WriteInt(int32_t width, TextStream& stream, int32_t value) {
  if (IoResult != 0) return;
  ShortString text;
  // The magnitude in unsigned arithmetic, so that -2147483648 needs no
  // signed negation.
  uint32_t magnitude = static_cast<uint32_t>(value);
  if (value < 0) magnitude = 0u - magnitude;
  FormatDecimal(text, value < 0, magnitude);
  WriteStr(width, stream, text);
}

void WriteUInt(int32_t width, TextStream& stream, uint32_t value) {
  if (IoResult != 0) return;
  ShortString text;
  FormatDecimal(text, false, value);
  WriteStr(width, stream, text);
}

void EndWrite(TextStream& stream) {
  if (stream.FlushOp != nullptr) stream.FlushOp(stream);
}

void EndWriteLine(TextStream& stream) {
  if (IoResult != 0) return;
  if (stream.Mode != ModeOutput) {
    RefuseWrite(stream);
    return;
  }
  PutBytes(stream, stream.LineEnd, stream.LineEndLength);
  if (stream.FlushOp != nullptr) stream.FlushOp(stream);
}

// Hands the waiting bytes over in one write. The bytes of a failed or short
// write are dropped, never written again.
void FlushBuffer(TextStream& stream) {
  if (stream.BufPos == 0) return;
  if (WriteBlock(stream.Handle, stream.Buffer, stream.BufPos) != stream.BufPos)
    IoResult = IoErrorWriteFailed;
  stream.BufPos = 0;
}

void FlushStream(TextStream& stream) {
  if (IoResult != 0) return;
  if (stream.Mode == ModeOutput)
    stream.InOutOp(stream);
  else
    RefuseWrite(stream);
}
