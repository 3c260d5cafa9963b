#include "lookup/driver.h"
#include "runtime/exit/termination.h"

int main(int argc, char** argv) { ProgramEntry(argc, argv, LookupDriver); }
