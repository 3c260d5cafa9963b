// The buffered text streams over the fake platform: what each hand-over to
// the system holds, the 256-byte buffer and its overflow, widths and numbers,
// and how a failed or short write, or a stream that is not open for output,
// shows in IoResult.

#include <stdint.h>
#include <string.h>

#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/memory/memory.h"
#include "runtime/stream/text_stream.h"
#include "tests/support/fake_platform.h"
#include "tests/support/short_string_text.h"

namespace {

constexpr PlatformHandle OutHandle = StdOutputHandleId;
constexpr PlatformHandle ErrHandle = StdErrorHandleId;

// 255 bytes that are not all alike, so that a shifted or repeated byte shows.
std::string Pattern(size_t length, char first = 'a') {
  std::string bytes;
  for (size_t i = 0; i < length; ++i) bytes += static_cast<char>(first + i % 26);
  return bytes;
}

std::string Blanks(size_t count) { return std::string(count, ' '); }

class TextStreamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetFakePlatform();
    IoResult = 0;
    SetupStdStreams();
  }
  void TearDown() override { IoResult = 0; }

  static void ExpectWrites(const std::vector<FakeWrite>& expected) {
    const std::vector<FakeWrite>& actual = FakePlatform.Writes;
    ASSERT_EQ(actual.size(), expected.size()) << "number of write calls";
    for (size_t i = 0; i < expected.size(); ++i) {
      SCOPED_TRACE("write call " + std::to_string(i));
      EXPECT_EQ(actual[i].Handle, expected[i].Handle);
      EXPECT_EQ(actual[i].Bytes.size(), expected[i].Bytes.size());
      EXPECT_EQ(actual[i].Bytes, expected[i].Bytes);
    }
  }
};

// --- Hand-overs and the buffer -------------------------------------------------

TEST_F(TextStreamTest, EmptyLineIsOneWriteOfCrLf) {
  EndWriteLine(StdOut());
  ExpectWrites({{OutHandle, "\r\n"}});
  EXPECT_EQ(IoResult, 0);
}

TEST_F(TextStreamTest, EndWriteWithNothingWaitingWritesNothing) {
  EndWrite(StdOut());
  WriteStr(0, StdOut(), ShortStringFromBytes(""));
  EndWrite(StdOut());
  ExpectWrites({});
}

TEST_F(TextStreamTest, EveryStatementIsWrittenAtItsEnd) {
  WriteStr(0, StdOut(), ShortStringFromBytes("TP 5.5 COMPILER ERROR "));
  WriteInt(1, StdOut(), 2);
  WriteStr(0, StdOut(), ShortStringFromBytes(": "));
  ExpectWrites({});
  EndWrite(StdOut());
  ExpectWrites({{OutHandle, "TP 5.5 COMPILER ERROR 2: "}});

  WriteStr(0, StdOut(), ShortStringFromBytes("Identifier expected"));
  EndWriteLine(StdOut());
  ExpectWrites({{OutHandle, "TP 5.5 COMPILER ERROR 2: "}, {OutHandle, "Identifier expected\r\n"}});
  EXPECT_EQ(IoResult, 0);
}

TEST_F(TextStreamTest, LineOf255BytesGoesOutAs256ThenTheLineFeed) {
  const std::string line = Pattern(255);
  WriteStr(0, StdOut(), ShortStringFromBytes(line));
  ExpectWrites({});
  EndWriteLine(StdOut());
  ExpectWrites({{OutHandle, line + "\r"}, {OutHandle, "\n"}});
}

TEST_F(TextStreamTest, StatementOfExactly256BytesEndedByEndWrite) {
  const std::string first = Pattern(200, 'a');
  const std::string second = Pattern(56, 'A');
  WriteStr(0, StdOut(), ShortStringFromBytes(first));
  WriteStr(0, StdOut(), ShortStringFromBytes(second));
  ExpectWrites({});  // a buffer that has just become full waits
  EndWrite(StdOut());
  ExpectWrites({{OutHandle, first + second}});
}

TEST_F(TextStreamTest, StatementOfExactly256BytesEndedByEndWriteLine) {
  const std::string first = Pattern(200, 'a');
  const std::string second = Pattern(56, 'A');
  WriteStr(0, StdOut(), ShortStringFromBytes(first));
  WriteStr(0, StdOut(), ShortStringFromBytes(second));
  EndWriteLine(StdOut());
  ExpectWrites({{OutHandle, first + second}, {OutHandle, "\r\n"}});
}

TEST_F(TextStreamTest, SixHundredBytesInOneItemOverflowTwice) {
  // 597 blanks in front of a 3-byte text.
  WriteStr(600, StdOut(), ShortStringFromBytes("END"));
  ExpectWrites({{OutHandle, Blanks(256)}, {OutHandle, Blanks(256)}});
  EndWrite(StdOut());
  ExpectWrites(
      {{OutHandle, Blanks(256)}, {OutHandle, Blanks(256)}, {OutHandle, Blanks(85) + "END"}});
}

TEST_F(TextStreamTest, BlanksThatFillTheBufferWaitForTheNextPut) {
  // 256 blanks fill the buffer exactly; the text then needs room.
  WriteStr(258, StdOut(), ShortStringFromBytes("ab"));
  ExpectWrites({{OutHandle, Blanks(256)}});
  EndWrite(StdOut());
  ExpectWrites({{OutHandle, Blanks(256)}, {OutHandle, "ab"}});
}

TEST_F(TextStreamTest, LongStatementsAcrossSeveralItems) {
  const std::string a = Pattern(255, 'a');
  const std::string b = Pattern(255, 'A');
  const std::string c = Pattern(100, '0');
  WriteStr(0, StdOut(), ShortStringFromBytes(a));
  WriteStr(0, StdOut(), ShortStringFromBytes(b));
  WriteStr(0, StdOut(), ShortStringFromBytes(c));
  EndWriteLine(StdOut());
  const std::string all = a + b + c + "\r\n";
  ExpectWrites({{OutHandle, all.substr(0, 256)},
                {OutHandle, all.substr(256, 256)},
                {OutHandle, all.substr(512)}});
}

TEST_F(TextStreamTest, BytesAreWrittenUnchanged) {
  const std::string bytes("\x00\r\n\xC4\n\rA\x7F\xFF\x1A", 10);
  WriteStr(0, StdOut(), ShortStringFromBytes(bytes));
  EndWriteLine(StdOut());
  ExpectWrites({{OutHandle, bytes + "\r\n"}});
}

TEST_F(TextStreamTest, StreamsKeepTheirOwnBuffersAndHandles) {
  WriteStr(0, StdOut(), ShortStringFromBytes("out"));
  WriteStr(0, StdErr(), ShortStringFromBytes("err"));
  EndWriteLine(StdErr());
  EndWriteLine(StdOut());
  ExpectWrites({{ErrHandle, "err\r\n"}, {OutHandle, "out\r\n"}});
}

// --- Widths and numbers ----------------------------------------------------------

struct WidthCase {
  int32_t Width;
  std::string Text;
  std::string Expected;
};

TEST_F(TextStreamTest, WriteStrPutsBlanksUpToTheWidth) {
  const WidthCase cases[] = {
      {0, "ab", "ab"},
      {-1, "ab", "ab"},
      {-5, "ab", "ab"},
      {INT32_MIN, "ab", "ab"},
      {1, "ab", "ab"},
      {2, "ab", "ab"},
      {3, "ab", " ab"},
      {5, "ab", "   ab"},
      {4, "", "    "},
      {0, "", ""},
      {255, Pattern(255), Pattern(255)},
      {256, "x", Blanks(255) + "x"},
  };
  for (const WidthCase& c : cases) {
    SCOPED_TRACE("width " + std::to_string(c.Width) + ", text \"" + c.Text + "\"");
    ResetFakePlatform();
    WriteStr(c.Width, StdOut(), ShortStringFromBytes(c.Text));
    EndWrite(StdOut());
    if (c.Expected.empty()) {
      ExpectWrites({});
    } else {
      ExpectWrites({{OutHandle, c.Expected}});
    }
  }
}

struct IntCase {
  int32_t Width;
  int32_t Value;
  std::string Expected;
};

TEST_F(TextStreamTest, WriteIntInDecimal) {
  const IntCase cases[] = {
      {0, 0, "0"},
      {0, 1, "1"},
      {0, -1, "-1"},
      {0, 9, "9"},
      {0, 10, "10"},
      {0, 100, "100"},
      {0, 32767, "32767"},
      {0, -32768, "-32768"},
      {0, 1000000000, "1000000000"},
      {0, INT32_MAX, "2147483647"},
      {0, INT32_MIN, "-2147483648"},
      {1, 0, "0"},
      {1, 151, "151"},
      {1, -32768, "-32768"},
      {-3, 7, "7"},
      {5, 42, "   42"},
      {3, -1, " -1"},
      {11, INT32_MIN, "-2147483648"},
      {12, INT32_MIN, " -2147483648"},
  };
  for (const IntCase& c : cases) {
    SCOPED_TRACE("width " + std::to_string(c.Width) + ", value " + std::to_string(c.Value));
    ResetFakePlatform();
    WriteInt(c.Width, StdOut(), c.Value);
    EndWrite(StdOut());
    ExpectWrites({{OutHandle, c.Expected}});
  }
}

struct UIntCase {
  int32_t Width;
  uint32_t Value;
  std::string Expected;
};

TEST_F(TextStreamTest, WriteUIntInDecimalWithoutSign) {
  const UIntCase cases[] = {
      {0, 0u, "0"},
      {0, 101u, "101"},
      {0, 2147483648u, "2147483648"},
      {0, 4294967295u, "4294967295"},
      {4, 7u, "   7"},
      {10, 4294967295u, "4294967295"},
  };
  for (const UIntCase& c : cases) {
    SCOPED_TRACE("width " + std::to_string(c.Width) + ", value " + std::to_string(c.Value));
    ResetFakePlatform();
    WriteUInt(c.Width, StdOut(), c.Value);
    EndWrite(StdOut());
    ExpectWrites({{OutHandle, c.Expected}});
  }
}

// --- Failed and short writes ---------------------------------------------------------

TEST_F(TextStreamTest, FailedWriteSetsIoResultAndDropsTheBytes) {
  FakePlatform.FailWritesFrom = 0;
  WriteStr(0, StdOut(), ShortStringFromBytes("abc"));
  EndWriteLine(StdOut());
  EXPECT_EQ(IoResult, 101);
  ExpectWrites({{OutHandle, "abc\r\n"}});

  // From here the platform accepts writes, but IoResult is still set.
  FakePlatform.FailWritesFrom = -1;
  WriteStr(0, StdOut(), ShortStringFromBytes("x"));
  WriteInt(0, StdOut(), 5);
  WriteUInt(0, StdOut(), 6);
  EndWriteLine(StdOut());
  FlushStream(StdOut());
  EndWrite(StdOut());  // nothing waits: the failed bytes are gone
  ExpectWrites({{OutHandle, "abc\r\n"}});
  EXPECT_EQ(IoResult, 101);

  IoResult = 0;
  WriteStr(0, StdOut(), ShortStringFromBytes("ok"));
  EndWriteLine(StdOut());
  ExpectWrites({{OutHandle, "abc\r\n"}, {OutHandle, "ok\r\n"}});
  EXPECT_EQ(IoResult, 0);
}

TEST_F(TextStreamTest, EndWriteFlushesWhatWaitsWhileIoResultIsSet) {
  WriteStr(0, StdOut(), ShortStringFromBytes("abc"));
  FakePlatform.FailWritesFrom = 0;
  WriteStr(0, StdErr(), ShortStringFromBytes("e"));
  EndWriteLine(StdErr());
  ASSERT_EQ(IoResult, 101);

  FakePlatform.FailWritesFrom = -1;
  EndWriteLine(StdOut());  // does nothing while IoResult is set
  ExpectWrites({{ErrHandle, "e\r\n"}});
  EndWrite(StdOut());
  ExpectWrites({{ErrHandle, "e\r\n"}, {OutHandle, "abc"}});
  EXPECT_EQ(IoResult, 101);
}

TEST_F(TextStreamTest, FailedOverflowWriteKeepsPuttingTheRestOfTheItem) {
  const std::string a = Pattern(255, 'a');
  const std::string b = Pattern(255, 'A');
  FakePlatform.FailWritesFrom = 0;
  WriteStr(0, StdOut(), ShortStringFromBytes(a));
  WriteStr(0, StdOut(),
           ShortStringFromBytes(b));  // the overflow write of a and b's first byte fails
  EXPECT_EQ(IoResult, 101);
  ExpectWrites({{OutHandle, a + b.substr(0, 1)}});

  FakePlatform.FailWritesFrom = -1;
  WriteStr(0, StdOut(), ShortStringFromBytes("c"));
  EndWriteLine(StdOut());
  FlushStdStreams();
  ExpectWrites({{OutHandle, a + b.substr(0, 1)}});

  // What the failing item put after the overflow still waits.
  EndWrite(StdOut());
  ExpectWrites({{OutHandle, a + b.substr(0, 1)}, {OutHandle, b.substr(1)}});
}

struct WriteOutcomeCase {
  bool Console;
  uint32_t CodePage;
  int32_t ShortenBy;
  bool Fail;
  uint16_t IoResultAfter;
  int32_t CountGiven;  // by WriteBlock for a block of 5 bytes
};

TEST_F(TextStreamTest, ShortWritesAreFailuresExceptOnUnicodeConsoles) {
  const WriteOutcomeCase cases[] = {
      {false, 437, 0, false, 0, 5},     {true, 437, 0, false, 0, 5},
      {true, 65001, 1, false, 0, 5},    {true, 65000, 1, false, 0, 5},
      {true, 1200, 1, false, 0, 5},     {true, 1201, 1, false, 0, 5},
      {true, 12000, 1, false, 0, 5},    {true, 12001, 1, false, 0, 5},
      {true, 65001, 3, false, 0, 5},    {true, 437, 1, false, 101, 4},
      {true, 850, 1, false, 101, 4},    {true, 1252, 1, false, 101, 4},
      {true, 65002, 1, false, 101, 4},  {true, 0, 1, false, 101, 4},
      {false, 65001, 1, false, 101, 4}, {false, 437, 1, false, 101, 4},
      {true, 65001, 0, true, 101, 0},  // a failed call is no short write
      {false, 437, 0, true, 101, 0},
  };
  for (const WriteOutcomeCase& c : cases) {
    SCOPED_TRACE(std::string(c.Console ? "console" : "no console") + ", code page " +
                 std::to_string(c.CodePage) + ", short by " + std::to_string(c.ShortenBy) +
                 (c.Fail ? ", call fails" : ""));
    ResetFakePlatform();
    FakePlatform.Console = c.Console;
    FakePlatform.ConsoleCodePage = c.CodePage;
    FakePlatform.ShortenWritesBy = c.ShortenBy;
    if (c.Fail) FakePlatform.FailWritesFrom = 0;

    EXPECT_EQ(WriteBlock(OutHandle, reinterpret_cast<const uint8_t*>("hello"), 5), c.CountGiven);

    IoResult = 0;
    WriteStr(0, StdOut(), ShortStringFromBytes("hello"));
    EndWriteLine(StdOut());
    EXPECT_EQ(IoResult, c.IoResultAfter);

    // The bytes of the statement are handed over once, whatever came of it.
    IoResult = 0;
    EndWrite(StdOut());
    ExpectWrites({{OutHandle, "hello"}, {OutHandle, "hello\r\n"}});
    IoResult = 0;
  }
}

// --- Streams that are not open for output ------------------------------------------

struct RefusingStreamCase {
  const char* Name;
  int32_t Mode;
  uint16_t Expected;
};

TEST_F(TextStreamTest, StreamsNotOpenForOutputRefuseWrites) {
  using Operation = void (*)(TextStream&);
  struct NamedOperation {
    const char* Name;
    Operation Run;
  };
  const NamedOperation operations[] = {
      {"WriteStr", [](TextStream& s) { WriteStr(0, s, ShortStringFromBytes("abc")); }},
      {"WriteStr with width", [](TextStream& s) { WriteStr(5, s, ShortStringFromBytes("abc")); }},
      {"WriteInt", [](TextStream& s) { WriteInt(0, s, -42); }},
      {"WriteUInt", [](TextStream& s) { WriteUInt(0, s, 42); }},
      {"EndWriteLine", [](TextStream& s) { EndWriteLine(s); }},
      {"FlushStream", [](TextStream& s) { FlushStream(s); }},
  };
  const RefusingStreamCase streams[] = {
      {"input", ModeInput, 105},
      {"closed", ModeClosed, 103},
      {"mode 0", 0, 103},
      {"mode 0xD7B3", 0xD7B3, 103},
  };
  for (const RefusingStreamCase& c : streams) {
    for (const NamedOperation& operation : operations) {
      SCOPED_TRACE(std::string(operation.Name) + " on a stream in mode " + c.Name);
      ResetFakePlatform();
      TextStream stream{};
      OpenStdStream(stream, ModeOutput, OutHandle);
      stream.Mode = c.Mode;

      IoResult = 0;
      operation.Run(stream);
      EXPECT_EQ(IoResult, c.Expected);

      // A pending error is kept as it is.
      IoResult = 101;
      operation.Run(stream);
      EXPECT_EQ(IoResult, 101);

      // EndWrite looks at neither the mode nor IoResult, and here nothing waits.
      IoResult = 0;
      EndWrite(stream);
      EXPECT_EQ(IoResult, 0);
      ExpectWrites({});
    }
  }
  IoResult = 0;
}

TEST_F(TextStreamTest, StandardInputRefusesWrites) {
  WriteStr(0, StdIn(), ShortStringFromBytes("abc"));
  EXPECT_EQ(IoResult, 105);
  IoResult = 0;
  EndWriteLine(StdIn());
  EXPECT_EQ(IoResult, 105);
  IoResult = 0;
  EndWrite(StdIn());
  EXPECT_EQ(IoResult, 0);
  ExpectWrites({});
}

TEST_F(TextStreamTest, StreamOpenedClosedRefusesWrites) {
  TextStream stream{};
  OpenStdStream(stream, ModeClosed, OutHandle);
  WriteStr(0, stream, ShortStringFromBytes("abc"));
  EXPECT_EQ(IoResult, 103);
  ExpectWrites({});
}

// --- Opening, standard handles and the final flush ----------------------------------

TEST_F(TextStreamTest, StreamOnAnotherHandleIsNotWrittenAtStatementEnds) {
  TextStream stream{};
  OpenStdStream(stream, ModeOutput, 7);
  EXPECT_EQ(stream.FlushOp, nullptr);

  WriteStr(0, stream, ShortStringFromBytes("abc"));
  EndWriteLine(stream);
  EndWrite(stream);
  ExpectWrites({});
  EXPECT_EQ(IoResult, 0);

  // The buffer still empties when it overflows, and on an explicit flush.
  const std::string fill = Pattern(255);
  WriteStr(0, stream, ShortStringFromBytes(fill));
  ExpectWrites({{7, "abc\r\n" + fill.substr(0, 251)}});
  FlushStream(stream);
  ExpectWrites({{7, "abc\r\n" + fill.substr(0, 251)}, {7, fill.substr(251)}});
}

TEST_F(TextStreamTest, StreamOnAStandardHandleIsWrittenAtStatementEnds) {
  TextStream stream{};
  OpenStdStream(stream, ModeOutput, ErrHandle);
  EXPECT_NE(stream.FlushOp, nullptr);
  WriteStr(0, stream, ShortStringFromBytes("abc"));
  EndWriteLine(stream);
  ExpectWrites({{ErrHandle, "abc\r\n"}});
}

TEST_F(TextStreamTest, IsStdHandleKnowsTheThreeStoredHandles) {
  EXPECT_TRUE(IsStdHandle(StdInputHandleId));
  EXPECT_TRUE(IsStdHandle(StdOutputHandleId));
  EXPECT_TRUE(IsStdHandle(StdErrorHandleId));
  for (PlatformHandle other : {PlatformHandle{0}, PlatformHandle{1}, PlatformHandle{2},
                               PlatformHandle{7}, PlatformHandle{-1}, PlatformHandle{-13}}) {
    SCOPED_TRACE("handle " + std::to_string(other));
    EXPECT_FALSE(IsStdHandle(other));
  }
}

TEST_F(TextStreamTest, FlushStdStreamsWritesStdOutThenStdErr) {
  WriteStr(0, StdErr(), ShortStringFromBytes("err"));
  WriteStr(0, StdOut(), ShortStringFromBytes("out"));
  FlushStdStreams();
  ExpectWrites({{OutHandle, "out"}, {ErrHandle, "err"}});

  // Nothing waits any more.
  FlushStdStreams();
  ExpectWrites({{OutHandle, "out"}, {ErrHandle, "err"}});
}

TEST_F(TextStreamTest, FlushStdStreamsSkipsAnEmptyBuffer) {
  WriteStr(0, StdErr(), ShortStringFromBytes("err"));
  FlushStdStreams();
  ExpectWrites({{ErrHandle, "err"}});
}

TEST_F(TextStreamTest, FlushStdStreamsWritesNothingWhileIoResultIsSet) {
  WriteStr(0, StdOut(), ShortStringFromBytes("out"));
  WriteStr(0, StdErr(), ShortStringFromBytes("err"));
  IoResult = 101;
  FlushStdStreams();
  ExpectWrites({});
}

// --- Per-thread state -----------------------------------------------------------

// A thread's streams are never given back; the test's thread takes them
// from a block of its own instead of the run-time's pool, which other tests
// look at.
void* ThreadStreamBlock(void* block, size_t size) {
  alignas(16) static unsigned char storage[4096];
  return block == nullptr && size <= sizeof storage ? storage : nullptr;
}

TEST_F(TextStreamTest, AnotherThreadHasStreamsAndIoResultOfItsOwn) {
  WriteStr(0, StdOut(), ShortStringFromBytes("main"));
  const TextStream* threadStreams[3] = {};
  uint16_t refusal = 0;
  const HeapReallocator savedHeap = HeapReallocate;
  HeapReallocate = ThreadStreamBlock;
  std::thread([&] {
    threadStreams[0] = &StdIn();
    threadStreams[1] = &StdOut();
    threadStreams[2] = &StdErr();
    // Never opened: a write is refused, on this thread's IoResult only.
    WriteStr(0, StdOut(), ShortStringFromBytes("refused"));
    refusal = IoResult;
    IoResult = 0;
    // Once opened, its buffer is its own.
    OpenStdStream(StdOut(), ModeOutput, OutHandle);
    WriteStr(0, StdOut(), ShortStringFromBytes("thread"));
    EndWriteLine(StdOut());
  }).join();
  HeapReallocate = savedHeap;

  EXPECT_EQ(refusal, IoErrorNotOpen);
  EXPECT_EQ(IoResult, 0);
  for (const TextStream* own : {&StdIn(), &StdOut(), &StdErr()})
    for (const TextStream* other : threadStreams) EXPECT_NE(own, other);
  EndWriteLine(StdOut());
  ExpectWrites({{OutHandle, "thread\r\n"}, {OutHandle, "main\r\n"}});
}

}  // namespace
