#include "runtime/memory/memory_pool.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

constexpr size_t PoolSize = 4096;
constexpr size_t PoolAlignment = 16;

// In front of every pool block: the size it was asked for, which a move
// needs, padded to keep the block aligned.
struct PoolBlockHeader {
  size_t Size;
  size_t Padding;
};

alignas(PoolAlignment) static unsigned char Pool[PoolSize];
static size_t PoolUsed;         // bytes handed out from the start of the pool
static size_t PoolBlocksInUse;  // when none is left, the pool starts over

// The room a block of `size` bytes takes in the pool: at least one aligned
// unit, so that even an empty block lies inside the pool.
static size_t Aligned(size_t size) {
  if (size == 0) size = 1;
  return (size + PoolAlignment - 1) & ~(PoolAlignment - 1);
}

static bool InPool(const void* block) {
  const unsigned char* bytes = static_cast<const unsigned char*>(block);
  return bytes >= Pool && bytes < Pool + PoolSize;
}

static PoolBlockHeader& HeaderOf(void* block) { return static_cast<PoolBlockHeader*>(block)[-1]; }

static size_t OffsetOf(void* block) {
  return static_cast<size_t>(static_cast<unsigned char*>(block) - Pool);
}

static bool IsLastBlock(void* block) {
  return OffsetOf(block) + Aligned(HeaderOf(block).Size) == PoolUsed;
}

// A new block from the pool, or null when the pool has no room for it.
static void* TakeFromPool(size_t size) {
  if (size > PoolSize || sizeof(PoolBlockHeader) + Aligned(size) > PoolSize - PoolUsed)
    return nullptr;
  PoolBlockHeader* header = reinterpret_cast<PoolBlockHeader*>(Pool + PoolUsed);
  header->Size = size;
  PoolUsed += sizeof(PoolBlockHeader) + Aligned(size);
  ++PoolBlocksInUse;
  return header + 1;
}

static void* NewBlock(size_t size) {
  void* block = TakeFromPool(size);
  return block != nullptr ? block : realloc(nullptr, size);
}

static void ReleasePoolBlock(void* block) {
  if (IsLastBlock(block)) PoolUsed = OffsetOf(block) - sizeof(PoolBlockHeader);
  if (--PoolBlocksInUse == 0) PoolUsed = 0;
}

static void* ResizePoolBlock(void* block, size_t size) {
  PoolBlockHeader& header = HeaderOf(block);
  if (IsLastBlock(block) && size <= PoolSize && Aligned(size) <= PoolSize - OffsetOf(block)) {
    PoolUsed = OffsetOf(block) + Aligned(size);
    header.Size = size;
    return block;
  }
  if (size <= header.Size) {
    header.Size = size;
    return block;
  }
  void* moved = NewBlock(size);
  if (moved == nullptr) return nullptr;
  memcpy(moved, block, header.Size);
  ReleasePoolBlock(block);
  return moved;
}

void* PoolReallocate(void* block, size_t size) {
  if (block == nullptr) return NewBlock(size);
  if (InPool(block)) return ResizePoolBlock(block, size);
  return realloc(block, size);
}

void PoolFree(void* block) {
  if (InPool(block))
    ReleasePoolBlock(block);
  else
    free(block);
}
