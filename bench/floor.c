/* The floor: a program that makes the same nine writes as `msgcode 151`
   and nothing else. Linked statically, it is the least a process with this
   output can cost on the C library it is linked with. */
#include <unistd.h>

static void WriteText(const char* text, size_t length) { (void)!write(1, text, length); }

#define WRITE_TEXT(literal) WriteText(literal, sizeof literal - 1)

int main(void) {
  WRITE_TEXT("TP 5.5 COMPILER ERROR 151: ");
  WRITE_TEXT("Virtual constructors not allowed here\r\n");
  WRITE_TEXT("TP 6.0 COMPILER ERROR 151: ");
  WRITE_TEXT("Virtual constructors are not allowed\r\n");
  WRITE_TEXT(
      "\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4"
      "\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4"
      "\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\r\n");
  WRITE_TEXT("TP 5.5 RUNTIME ERROR 151: ");
  WRITE_TEXT("Unknown unit\r\n");
  WRITE_TEXT("TP 6.0 RUNTIME ERROR 151: ");
  WRITE_TEXT("Bad drive request struct length\r\n");
  return 0;
}
