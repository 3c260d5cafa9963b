// A pool of memory inside the executable, in front of the C library's heap.
// Blocks are handed out one after the other; a run whose argument list fits
// in the pool asks the system for no memory at all. What does not fit comes
// from the C library's heap.
#pragma once

#include <stddef.h>

// A realloc: a new block (null `block`), or `block` resized. Pool blocks
// grow in place when they are the last one, and move otherwise, to the pool
// or to the C library's heap. Null when no memory is left.
void* PoolReallocate(void* block, size_t size);

// A free: releases `block`, from the pool or from the C library's heap.
void PoolFree(void* block);
