#include "runtime/args/argument_list.h"

#include <string.h>

#include "runtime/memory/memory.h"
#include "runtime/platform/platform.h"

char** ArgumentList;
int32_t ArgumentCount;
static int32_t SlotCount;

constexpr int32_t SlotBlock = 8;

// Makes sure the table has a slot for entry `index`: it grows to the next
// multiple of 8 above the index, and the new slots start absent.
static void ReserveSlot(int32_t index) {
  if (index < SlotCount) return;
  const int32_t slots = (index / SlotBlock + 1) * SlotBlock;
  ArgumentList =
      static_cast<char**>(ResizeMem(ArgumentList, static_cast<size_t>(slots) * sizeof(char*)));
  for (int32_t i = SlotCount; i < slots; ++i) ArgumentList[i] = nullptr;
  SlotCount = slots;
}

// A new entry of `length` bytes and a NUL, in a block of exactly that size.
static char* NewEntry(int32_t index, size_t length) {
  ReserveSlot(index);
  char* entry = static_cast<char*>(GetMem(length + 1));
  entry[length] = '\0';
  ArgumentList[index] = entry;
  return entry;
}

static void StoreEntry(int32_t index, const char* bytes) {
  const size_t length = strlen(bytes);
  memcpy(NewEntry(index, length), bytes, length);
}

// Entry 0 stays only when there is at least one token; the table is cut to
// the entries and the end marker.
static void FinishArgumentList(int32_t tokenCount) {
  if (tokenCount == 0) {
    FreeMem(ArgumentList[0]);
    ArgumentList[0] = nullptr;
  }
  ArgumentCount = tokenCount;
  SlotCount = tokenCount + 1;
  ArgumentList =
      static_cast<char**>(ResizeMem(ArgumentList, static_cast<size_t>(SlotCount) * sizeof(char*)));
  ArgumentList[tokenCount] = nullptr;
}

static bool IsSeparator(uint8_t byte) { return byte >= 1 && byte <= 32; }

// Walks one token from `text` by the splitting rules and gives the byte
// after it; counts its bytes in `length` and, when `out` is not null, copies
// them there. Measuring and copying are the same walk.
static const char* ScanToken(const char* text, char* out, size_t& length) {
  bool quoted = false;
  length = 0;
  for (;;) {
    const uint8_t byte = static_cast<uint8_t>(*text);
    if (byte == 0 || (IsSeparator(byte) && !quoted)) return text;
    if (byte == '"') {
      if (text[1] == '"') {
        text += 2;  // a doubled quote yields nothing
      } else {
        quoted = !quoted;
        ++text;
      }
      continue;
    }
    if (out != nullptr) out[length] = static_cast<char>(byte);
    ++length;
    ++text;
  }
}

void BuildArgumentListFromCommandLine(const char* modulePath, const char* commandLine) {
  ReleaseArgumentList();
  StoreEntry(0, modulePath);
  int32_t tokenCount = 0;
  const char* text = commandLine;
  for (;;) {
    while (IsSeparator(static_cast<uint8_t>(*text))) ++text;
    if (*text == '\0') break;
    size_t length;
    const char* end = ScanToken(text, nullptr, length);
    if (tokenCount > 0) ScanToken(text, NewEntry(tokenCount, length), length);
    ++tokenCount;
    text = end;
  }
  FinishArgumentList(tokenCount);
}

void BuildArgumentListFromVector(const char* modulePath, int32_t count, const char* const* vector) {
  ReleaseArgumentList();
  StoreEntry(0, modulePath);
  for (int32_t i = 1; i < count; ++i) StoreEntry(i, vector[i]);
  FinishArgumentList(count > 0 ? count : 0);
}

void BuildArgumentList() {
  char modulePath[ModulePathSize + 1];
  uint32_t length = PlatformModuleFileName(modulePath, ModulePathSize);
  if (length > ModulePathSize) length = ModulePathSize;
  modulePath[length] = '\0';

  if (const char* commandLine = PlatformCommandLine()) {
    BuildArgumentListFromCommandLine(modulePath, commandLine);
  } else {
    char* const* vector = nullptr;
    const int32_t count = PlatformArgumentVector(&vector);
    BuildArgumentListFromVector(modulePath, count, vector);
  }
}

void ReleaseArgumentList() {
  for (int32_t i = 0; i < ArgumentCount; ++i) FreeMem(ArgumentList[i]);
  FreeMem(ArgumentList);
  ArgumentList = nullptr;
  ArgumentCount = 0;
  SlotCount = 0;
}

int32_t ParamCount() { return ArgumentCount - 1; }

ShortString ParamStr(int32_t index) {
  ShortString text;
  text.Length = 0;
  if (index < 0 || index >= ArgumentCount) return text;
  const char* entry = ArgumentList[index];
  AssignShortString(text, entry, strnlen(entry, ShortStringCapacity));
  return text;
}
