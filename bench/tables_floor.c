/* The floor of a program that carries the four message tables: the same
   nine writes as the floor, but each message is found by a binary search of
   its table and copied into a buffer before it is written, as msgcode does.
   Against the plain floor it shows what the tables' data costs by itself.
   The tables come from tables_floor_data.h, which scripts/bench writes from
   the test fixture tests/fixtures/messages.tsv. */
#include <string.h>
#include <unistd.h>

struct Entry {
  short Code;
  const char* Text;
};

#include "tables_floor_data.h"

#define COUNT(table) (int)(sizeof table / sizeof table[0])

static char Buffer[256];

static const char* Find(const struct Entry* entries, int count, short code) {
  int low = 0, high = count - 1;
  while (low <= high) {
    const int middle = (low + high) / 2;
    if (entries[middle].Code == code) return entries[middle].Text;
    if (entries[middle].Code < code)
      low = middle + 1;
    else
      high = middle - 1;
  }
  return "";
}

static void WriteBuffered(const char* text, const char* lineEnd) {
  const size_t length = strlen(text), endLength = strlen(lineEnd);
  memcpy(Buffer, text, length);
  memcpy(Buffer + length, lineEnd, endLength);
  (void)!write(1, Buffer, length + endLength);
}

static void WriteMessage(const char* heading, const struct Entry* entries, int count) {
  WriteBuffered(heading, "");
  WriteBuffered(Find(entries, count, 151), "\r\n");
}

int main(void) {
  WriteMessage("TP 5.5 COMPILER ERROR 151: ", tp55_compiler, COUNT(tp55_compiler));
  WriteMessage("TP 6.0 COMPILER ERROR 151: ", tp60_compiler, COUNT(tp60_compiler));
  WriteBuffered(
      "\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4"
      "\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4"
      "\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4",
      "\r\n");
  WriteMessage("TP 5.5 RUNTIME ERROR 151: ", tp55_runtime, COUNT(tp55_runtime));
  WriteMessage("TP 6.0 RUNTIME ERROR 151: ", tp60_runtime, COUNT(tp60_runtime));
  return 0;
}
