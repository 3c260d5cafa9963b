#include "runtime/memory/memory.h"

#include "runtime/exit/termination.h"
#include "runtime/memory/memory_pool.h"

constexpr uint16_t RunErrorHeapOverflow = 203;

HeapReallocator HeapReallocate = PoolReallocate;

// Not inlined: the run-time error report names the place in this routine.
__attribute__((noinline)) void* ResizeMem(void* block, size_t size) {
  void* resized = HeapReallocate(block, size);
  if (resized == nullptr) RunError(RunErrorHeapOverflow);
  return resized;
}

void* GetMem(size_t size) { return ResizeMem(nullptr, size); }

void FreeMem(void* block) { PoolFree(block); }
