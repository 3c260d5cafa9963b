// Fuzz target for the buffered text streams: random sequences of puts
// (WriteStr, WriteInt, WriteUInt), statement ends (EndWrite, EndWriteLine),
// FlushStream and FlushStdStreams on a standard stream or on a stream opened
// on any handle in any mode, while writes are made to fail, to fall short, or
// to go to a console. After every call the recorded hand-overs, the waiting
// bytes and IoResult are compared with a model written here.
#include <fuzzer/FuzzedDataProvider.h>
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <iterator>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "runtime/stream/text_stream.h"
#include "tests/support/fake_platform.h"

namespace {

// ---------------------------------------------------------------------------
// The model: a stream as the rules describe it, byte by byte. A byte that
// finds the buffer full first has the buffer handed over; nothing is handed
// over before a byte needs the room, or before the statement ends.

struct Handover {
  PlatformHandle Handle;
  std::string Bytes;
};

struct ModelPlatform {
  int FailFrom = -1;  // the index of the first hand-over that fails; -1: none
  int32_t ShortBy = 0;
  bool Console = false;
  uint32_t CodePage = 437;
  std::vector<Handover> Handovers;

  // The count that the write of `bytes` is taken to have written.
  int64_t Write(PlatformHandle handle, const std::string& bytes) {
    const auto index = static_cast<int>(Handovers.size());
    Handovers.push_back({handle, bytes});
    const auto count = static_cast<int64_t>(bytes.size());
    if (FailFrom >= 0 && index >= FailFrom) return 0;
    const int64_t reported = count > ShortBy ? count - ShortBy : 0;
    const bool unicodeConsole = CodePage == 1200 || CodePage == 1201 || CodePage == 12000 ||
                                CodePage == 12001 || CodePage == 65000 || CodePage == 65001;
    if (reported < count && Console && unicodeConsole) return count;
    return reported;
  }
};

struct ModelStream {
  PlatformHandle Handle = 0;
  int32_t Mode = ModeClosed;
  bool FlushesAtStatementEnd = false;
  std::string Waiting;
  unsigned IoResult = 0;
  ModelPlatform* Platform = nullptr;

  static constexpr size_t Capacity = 256;

  void HandOver() {
    if (Waiting.empty()) return;
    if (Platform->Write(Handle, Waiting) != static_cast<int64_t>(Waiting.size())) IoResult = 101;
    Waiting.clear();
  }

  void Put(const std::string& bytes) {
    for (const char byte : bytes) {
      if (Waiting.size() == Capacity) HandOver();
      Waiting += byte;
    }
  }

  // Whether a put may go ahead; records why not.
  bool OpenForOutput() {
    if (Mode == ModeOutput) return true;
    IoResult = Mode == ModeInput ? 105 : 103;
    return false;
  }

  void WriteText(int32_t width, const std::string& text) {
    if (IoResult != 0 || !OpenForOutput()) return;
    const int64_t blanks = int64_t{width} - static_cast<int64_t>(text.size());
    if (blanks > 0) Put(std::string(static_cast<size_t>(blanks), ' '));
    Put(text);
  }

  void EndWrite() {
    if (FlushesAtStatementEnd) HandOver();
  }

  void EndWriteLine() {
    if (IoResult != 0 || !OpenForOutput()) return;
    Put("\r\n");
    if (FlushesAtStatementEnd) HandOver();
  }

  void Flush() {
    if (IoResult != 0 || !OpenForOutput()) return;
    HandOver();
  }
};

// ---------------------------------------------------------------------------

std::string Describe(const std::vector<std::string>& steps) {
  std::string shown = "steps:";
  for (const std::string& step : steps) shown += "\n  " + step;
  return shown;
}

// Compares the stream and the recorded hand-overs with the model; hand-overs
// before `checked` have been compared already.
void Compare(const TextStream& stream, const ModelStream& model,
             const std::vector<std::string>& steps, size_t& checked) {
  const std::vector<FakeWrite>& writes = FakePlatform.Writes;
  FUZZ_CHECK(writes.size() == model.Platform->Handovers.size(),
             std::to_string(writes.size()) + " hand-overs, expected " +
                 std::to_string(model.Platform->Handovers.size()) + "\n" + Describe(steps));
  for (size_t i = checked; i < writes.size(); ++i) {
    const Handover& expected = model.Platform->Handovers[i];
    FUZZ_CHECK(writes[i].Handle == expected.Handle && writes[i].Bytes == expected.Bytes,
               "hand-over " + std::to_string(i) + ": " + Quoted(writes[i].Bytes) + " to " +
                   std::to_string(writes[i].Handle) + ", expected " + Quoted(expected.Bytes) +
                   " to " + std::to_string(expected.Handle) + "\n" + Describe(steps));
  }
  FUZZ_CHECK(IoResult == model.IoResult, "IoResult " + std::to_string(IoResult) + ", expected " +
                                             std::to_string(model.IoResult) + "\n" +
                                             Describe(steps));
  FUZZ_CHECK(stream.BufSize == 256 && stream.BufPos >= 0 && stream.BufPos <= stream.BufSize,
             "BufSize " + std::to_string(stream.BufSize) + ", BufPos " +
                 std::to_string(stream.BufPos) + "\n" + Describe(steps));
  const std::string waiting(reinterpret_cast<const char*>(stream.Buffer),
                            static_cast<size_t>(stream.BufPos));
  FUZZ_CHECK(waiting == model.Waiting, "waiting " + Quoted(waiting) + ", expected " +
                                           Quoted(model.Waiting) + "\n" + Describe(steps));
  FUZZ_CHECK(stream.Handle == model.Handle && stream.Mode == model.Mode,
             "the stream's handle or mode changed\n" + Describe(steps));
  checked = writes.size();
}

int32_t ConsumeWidth(FuzzedDataProvider& input) {
  switch (input.ConsumeIntegralInRange(0, 4)) {
    case 0:
      return 0;
    case 1:
      return input.ConsumeIntegralInRange<int32_t>(-300, -1);
    case 2:
      return input.ConsumeBool() ? INT32_MIN : -2147483647;
    case 3:
      return input.ConsumeIntegralInRange<int32_t>(1, 20);
    default:
      return input.ConsumeIntegralInRange<int32_t>(1, 1100);
  }
}

int32_t ConsumeInt(FuzzedDataProvider& input) {
  static const int32_t edges[] = {0,     1,      -1,        9,         10,       -10,
                                  32767, -32768, INT32_MAX, INT32_MIN, 999999999};
  if (input.ConsumeBool())
    return edges[input.ConsumeIntegralInRange<size_t>(0, std::size(edges) - 1)];
  return input.ConsumeIntegral<int32_t>();
}

uint32_t ConsumeUInt(FuzzedDataProvider& input) {
  static const uint32_t edges[] = {0, 1, 9, 10, 4294967295u, 2147483648u, 1000000000u};
  if (input.ConsumeBool())
    return edges[input.ConsumeIntegralInRange<size_t>(0, std::size(edges) - 1)];
  return input.ConsumeIntegral<uint32_t>();
}

std::string ConsumeText(FuzzedDataProvider& input) {
  const auto length = input.ConsumeIntegralInRange<size_t>(0, ShortStringCapacity);
  return input.ConsumeBytesAsString(length);
}

ShortString ToShortString(const std::string& bytes) {
  ShortString text;
  memset(&text, 0xA5, sizeof text);  // nothing behind the length may show
  text.Length = static_cast<uint8_t>(bytes.size());
  memcpy(text.Bytes, bytes.data(), bytes.size());
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  ResetFakePlatform();
  IoResult = 0;
  SetupStdStreams();

  ModelPlatform platform;
  ModelStream model;
  model.Platform = &platform;

  // The stream under test: one of the standard streams as start-up opened
  // it, or a stream opened on any handle in any mode.
  TextStream local;
  TextStream* stream = nullptr;
  std::vector<std::string> steps;
  switch (input.ConsumeIntegralInRange(0, 3)) {
    case 0:
      stream = &StdOut();
      model.Handle = StdOutputHandleId;
      model.Mode = ModeOutput;
      break;
    case 1:
      stream = &StdErr();
      model.Handle = StdErrorHandleId;
      model.Mode = ModeOutput;
      break;
    case 2:
      stream = &StdIn();
      model.Handle = StdInputHandleId;
      model.Mode = ModeInput;
      break;
    default: {
      static const PlatformHandle handles[] = {
          StdInputHandleId, StdOutputHandleId, StdErrorHandleId, 0, 1, 2, -1, 7};
      static const int32_t modes[] = {ModeOutput, ModeOutput, ModeOutput, ModeInput,
                                      ModeClosed, 0,          12345};
      model.Handle = handles[input.ConsumeIntegralInRange<size_t>(0, std::size(handles) - 1)];
      model.Mode = modes[input.ConsumeIntegralInRange<size_t>(0, std::size(modes) - 1)];
      memset(&local, 0x5A, sizeof local);
      OpenStdStream(local, model.Mode, model.Handle);
      stream = &local;
      break;
    }
  }
  model.FlushesAtStatementEnd = model.Mode == ModeOutput && (model.Handle == StdInputHandleId ||
                                                             model.Handle == StdOutputHandleId ||
                                                             model.Handle == StdErrorHandleId);
  steps.push_back("stream on handle " + std::to_string(model.Handle) + ", mode " +
                  std::to_string(model.Mode));
  size_t checked = 0;
  Compare(*stream, model, steps, checked);

  while (input.remaining_bytes() > 0 && steps.size() < 200) {
    switch (input.ConsumeIntegralInRange(0, 11)) {
      case 0:
      case 1: {
        const int32_t width = ConsumeWidth(input);
        const std::string text = ConsumeText(input);
        steps.push_back("WriteStr(" + std::to_string(width) + ", " + Quoted(text) + ")");
        WriteStr(width, *stream, ToShortString(text));
        model.WriteText(width, text);
        break;
      }
      case 2: {
        const int32_t width = ConsumeWidth(input);
        const int32_t value = ConsumeInt(input);
        steps.push_back("WriteInt(" + std::to_string(width) + ", " + std::to_string(value) + ")");
        WriteInt(width, *stream, value);
        model.WriteText(width, std::to_string(int64_t{value}));
        break;
      }
      case 3: {
        const int32_t width = ConsumeWidth(input);
        const uint32_t value = ConsumeUInt(input);
        steps.push_back("WriteUInt(" + std::to_string(width) + ", " + std::to_string(value) + ")");
        WriteUInt(width, *stream, value);
        model.WriteText(width, std::to_string(uint64_t{value}));
        break;
      }
      case 4:
        steps.emplace_back("EndWrite");
        EndWrite(*stream);
        model.EndWrite();
        break;
      case 5:
      case 6:
        steps.emplace_back("EndWriteLine");
        EndWriteLine(*stream);
        model.EndWriteLine();
        break;
      case 7:
        steps.emplace_back("FlushStream");
        FlushStream(*stream);
        model.Flush();
        break;
      case 8:
        // Both standard streams; the one that is not under test has nothing
        // waiting, so only the stream under test can hand anything over.
        steps.emplace_back("FlushStdStreams");
        FlushStdStreams();
        if (stream == &StdOut() || stream == &StdErr()) model.Flush();
        break;
      case 9: {
        const int ahead = input.ConsumeIntegralInRange(-1, 3);
        platform.FailFrom = ahead < 0 ? -1 : static_cast<int>(platform.Handovers.size()) + ahead;
        FakePlatform.FailWritesFrom = platform.FailFrom;
        steps.push_back("writes fail from hand-over " + std::to_string(platform.FailFrom));
        break;
      }
      case 10: {
        static const uint32_t codePages[] = {437,  850,   1252,  0,     1200,
                                             1201, 12000, 12001, 65000, 65001};
        platform.ShortBy = input.ConsumeBool() ? 0 : input.ConsumeIntegralInRange<int32_t>(1, 300);
        platform.Console = input.ConsumeBool();
        platform.CodePage =
            codePages[input.ConsumeIntegralInRange<size_t>(0, std::size(codePages) - 1)];
        FakePlatform.ShortenWritesBy = platform.ShortBy;
        FakePlatform.Console = platform.Console;
        FakePlatform.ConsoleCodePage = platform.CodePage;
        steps.push_back("writes short by " + std::to_string(platform.ShortBy) + ", console " +
                        (platform.Console ? "yes" : "no") + ", code page " +
                        std::to_string(platform.CodePage));
        break;
      }
      default:
        // What the I/O check does before it reports the error.
        steps.emplace_back("IoResult cleared");
        IoResult = 0;
        model.IoResult = 0;
        break;
    }
    Compare(*stream, model, steps, checked);
  }
  // Nothing of this run stays allocated.
  ResetFakePlatform();
  return 0;
}
