// The heap, as the run-time uses it: a block that cannot be had ends the
// program with run-time error 203 (heap overflow).
#pragma once

#include <stddef.h>

void* GetMem(size_t size);
void* ResizeMem(void* block, size_t size);
void FreeMem(void* block);

// The realloc behind GetMem and ResizeMem: PoolReallocate, which serves small
// blocks from a pool inside the executable and the rest from the C library.
// Replaceable so that a test can make the heap run out on purpose.
using HeapReallocator = void* (*)(void* block, size_t size);
extern HeapReallocator HeapReallocate;
