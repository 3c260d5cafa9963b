#include "lookup/driver.h"

#include "lookup/message_table.h"
#include "runtime/args/argument_list.h"
#include "runtime/convert/val_signed.h"
#include "runtime/exit/termination.h"
#include "runtime/stream/text_stream.h"

int16_t ErrorCode;
int16_t ErrorPos;
ShortString MessageText;

static constexpr ShortString ReleaseDate = ShortStringOf("2018/02/07");
static constexpr ShortString BannerOpening = ShortStringOf("MSGCODE v2.01 * Copyright (C) 1991-");
static constexpr ShortString BannerClosing =
    ShortStringOf(" The msgcode authors. Free software under the MIT License.");
static constexpr int32_t ReleaseYearLength = 4;

static constexpr ShortString UsageLine1 = ShortStringOf("Usage: MSGCODE [<error code>]");
static constexpr ShortString UsageLine2 =
    ShortStringOf("       Display Turbo Pascal 5.5/6.0 error message for <error code>");
static constexpr ShortString UsageLine3 =
    ShortStringOf("       (Both compiler and run-time error messages are displayed)");
static constexpr ShortString InvalidArgumentText =
    ShortStringOf("Invalid <error code> at position: ");
static constexpr ShortString HeadingEnd = ShortStringOf(": ");

constexpr uint8_t SeparatorByte = 0xC4;  // light horizontal line in code pages 437 and 850
constexpr uint8_t SeparatorLength = 51;

static constexpr ShortString MakeSeparatorLine() {
  ShortString line{};
  line.Length = SeparatorLength;
  for (int i = 0; i < SeparatorLength; ++i) line.Bytes[i] = static_cast<char>(SeparatorByte);
  return line;
}
static constexpr ShortString SeparatorLine = MakeSeparatorLine();

struct LookupLine {
  ShortString Heading;
  const MessageTable& Table;
};

static constexpr LookupLine CompilerLines[] = {
    {ShortStringOf("TP 5.5 COMPILER ERROR "), Tp55CompilerMessages},
    {ShortStringOf("TP 6.0 COMPILER ERROR "), Tp60CompilerMessages},
};
static constexpr LookupLine RuntimeLines[] = {
    {ShortStringOf("TP 5.5 RUNTIME ERROR "), Tp55RuntimeMessages},
    {ShortStringOf("TP 6.0 RUNTIME ERROR "), Tp60RuntimeMessages},
};

// Every output call is followed by IoCheck, so a failed write ends the
// program right there. The helpers are inlined into LookupDriver so that
// every IoCheck runs in the driver's own frame: the report of a failed write
// then names the driver and, as its only caller, the start-up routine.
#define DRIVER_STEP [[gnu::always_inline]] static inline

DRIVER_STEP void WriteText(const ShortString& text) {
  WriteStr(0, StdOut(), text);
  IoCheck();
}

DRIVER_STEP void WriteNumber(int32_t width, int16_t value) {
  WriteInt(width, StdOut(), value);
  IoCheck();
}

DRIVER_STEP void EndLine() {
  EndWriteLine(StdOut());
  IoCheck();
}

DRIVER_STEP void EndStatement() {
  EndWrite(StdOut());
  IoCheck();
}

DRIVER_STEP void WriteUsage() {
  ShortString banner = BannerOpening;
  AppendShortString(banner, ReleaseDate.Bytes, ReleaseYearLength);
  AppendShortString(banner, BannerClosing);

  EndLine();
  WriteText(banner);
  EndLine();
  EndLine();
  WriteText(UsageLine1);
  EndLine();
  WriteText(UsageLine2);
  EndLine();
  WriteText(UsageLine3);
  EndLine();
}

DRIVER_STEP void WriteInvalidArgument() {
  WriteText(InvalidArgumentText);
  WriteNumber(0, ErrorPos);
  EndLine();
}

// The heading is handed over before the table is searched; a fallback text
// begins with a carriage return, so on a console it covers the heading.
DRIVER_STEP void WriteLookupLine(const LookupLine& line) {
  WriteText(line.Heading);
  WriteNumber(1, ErrorCode);
  WriteText(HeadingEnd);
  EndStatement();
  MessageText = FindMessage(line.Table, ErrorCode);
  WriteText(MessageText);
  EndLine();
}

void LookupDriver() {
  InitRuntime();
  if (ParamCount() == 0) {
    WriteUsage();
    Halt(1);
  }

  int32_t position;
  const int32_t value = ValSigned(2, ParamStr(1), position);
  // Only the low 16 bits are kept, with no range check: 65538 is 2.
  ErrorCode = static_cast<int16_t>(value);
  ErrorPos = static_cast<int16_t>(position);
  if (ErrorPos != 0) {
    WriteInvalidArgument();
    Halt(2);
  }

  for (const LookupLine& line : CompilerLines) WriteLookupLine(line);
  WriteText(SeparatorLine);
  EndLine();
  for (const LookupLine& line : RuntimeLines) WriteLookupLine(line);
  DoExit();
}
