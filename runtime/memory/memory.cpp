#include "runtime/memory/memory.h"

#include <stdlib.h>

#include "runtime/exit/termination.h"

constexpr uint16_t RunErrorHeapOverflow = 203;

HeapReallocator HeapReallocate = realloc;

// Not inlined: the run-time error report names the place in this routine.
__attribute__((noinline)) void* ResizeMem(void* block, size_t size) {
  void* resized = HeapReallocate(block, size);
  if (resized == nullptr) RunError(RunErrorHeapOverflow);
  return resized;
}

void* GetMem(size_t size) { return ResizeMem(nullptr, size); }

void FreeMem(void* block) { free(block); }
