#include "runtime/exit/termination.h"

static constexpr ShortString RuntimeErrorText = ShortStringOf("Runtime error ");
static constexpr ShortString AtText = ShortStringOf(" at $");
static constexpr ShortString AddressLinePrefix = ShortStringOf("  $");
static constexpr char HexDigits[] = "0123456789ABCDEF";

// Eight upper-case hexadecimal digits, leading zeros kept. A wider address
// shows its low 32 bits; the executable is linked low enough for them to
// name the place.
ShortString HexAddress(CodeAddress address) {
  ShortString text;
  text.Length = 8;
  const uint32_t value = static_cast<uint32_t>(address);
  for (int i = 0; i < 8; ++i) text.Bytes[i] = HexDigits[(value >> (28 - 4 * i)) & 0xF];
  return text;
}

static void WriteAddressLine(TextStream& stream, CodeAddress address) {
  ShortString line = AddressLinePrefix;
  AppendShortString(line, HexAddress(address));
  WriteStr(0, stream, line);
  EndWriteLine(stream);
}

// Walks up the frame chain, one routine at a time: the platform knows where
// each frame keeps its caller's frame and the return address into the
// caller. Only frames between the lowest address in use on the error's stack
// and the frame of ProgramEntry are read, none lower than the one before,
// and at most CallerLineLimit + 1 lines are written, so the walk can neither
// fault nor loop.
void WriteCallerLines(TextStream& stream, CodeAddress address, StackFrame frame) {
  uintptr_t low = RunErrorStackLow;
  int32_t count = 0;
  while (frame >= low && frame < StackTop && frame % sizeof(StackFrame) == 0) {
    CodeAddress returnAddress;
    StackFrame callerFrame;
    PlatformCallerOf(address, frame, low, returnAddress, callerFrame);
    if (returnAddress == 0) return;
    WriteAddressLine(stream, returnAddress);
    if (callerFrame == 0) return;
    if (++count > CallerLineLimit) return;
    // A routine without a frame of its own, such as a library routine that
    // faulted, leaves its caller's frame in place: the next step starts from
    // the same frame, one routine further up.
    if (callerFrame == frame && returnAddress == address) return;
    low = callerFrame == frame ? frame : frame + 2 * sizeof(StackFrame);
    address = returnAddress;
    frame = callerFrame;
  }
}

void WriteRunErrorReport() {
  TextStream& stream = StdErr();
  WriteStr(0, stream, RuntimeErrorText);
  WriteUInt(0, stream, RunErrorNumber);
  WriteStr(0, stream, AtText);
  WriteStr(0, stream, HexAddress(RunErrorAddress));
  EndWriteLine(stream);
  WriteAddressLine(stream, RunErrorAddress);
  WriteCallerLines(stream, RunErrorAddress, RunErrorFrame);
  EndWriteLine(stream);
}
