// The run-time's heap: small blocks from the pool inside the executable,
// the rest from the C library, every block at the size asked for.

#include <stdint.h>
#include <string.h>

#include <vector>

#include <gtest/gtest.h>

#include "runtime/memory/memory.h"
#include "runtime/memory/memory_pool.h"

namespace {

bool Overlap(const void* a, size_t aSize, const void* b, size_t bSize) {
  const auto* x = static_cast<const unsigned char*>(a);
  const auto* y = static_cast<const unsigned char*>(b);
  return x < y + bSize && y < x + aSize;
}

TEST(MemoryPool, IsTheHeapOfTheRunTime) { EXPECT_EQ(HeapReallocate, &PoolReallocate); }

TEST(MemoryPool, BlocksAreAlignedAndDoNotOverlap) {
  std::vector<void*> blocks;
  std::vector<size_t> sizes;
  for (size_t size : {1, 4, 17, 64, 3, 100}) {
    void* block = PoolReallocate(nullptr, size);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % 16, 0u);
    memset(block, 0xA5, size);
    for (size_t i = 0; i < blocks.size(); ++i)
      EXPECT_FALSE(Overlap(block, size, blocks[i], sizes[i]));
    blocks.push_back(block);
    sizes.push_back(size);
  }
  for (void* block : blocks) PoolFree(block);
}

TEST(MemoryPool, TheLastBlockGrowsInPlace) {
  void* first = PoolReallocate(nullptr, 10);
  void* last = PoolReallocate(nullptr, 64);
  memset(last, 7, 64);
  EXPECT_EQ(PoolReallocate(last, 128), last);
  EXPECT_EQ(static_cast<unsigned char*>(last)[63], 7);
  PoolFree(last);
  PoolFree(first);
}

TEST(MemoryPool, ABlockThatCannotGrowInPlaceMovesWithItsBytes) {
  void* table = PoolReallocate(nullptr, 64);
  for (int i = 0; i < 64; ++i)
    static_cast<unsigned char*>(table)[i] = static_cast<unsigned char>(i);
  void* entry = PoolReallocate(nullptr, 8);
  void* grown = PoolReallocate(table, 128);
  ASSERT_NE(grown, nullptr);
  EXPECT_NE(grown, table);
  for (int i = 0; i < 64; ++i) EXPECT_EQ(static_cast<unsigned char*>(grown)[i], i);
  EXPECT_FALSE(Overlap(grown, 128, entry, 8));
  PoolFree(grown);
  PoolFree(entry);
}

TEST(MemoryPool, WhatDoesNotFitComesFromTheCLibrary) {
  std::vector<void*> blocks;
  // Far more than the pool holds: every block stays usable and separate.
  for (int i = 0; i < 200; ++i) {
    void* block = PoolReallocate(nullptr, 100);
    ASSERT_NE(block, nullptr);
    memset(block, i, 100);
    blocks.push_back(block);
  }
  for (int i = 0; i < 200; ++i)
    EXPECT_EQ(static_cast<unsigned char*>(blocks[i])[99], static_cast<unsigned char>(i));
  void* large = PoolReallocate(nullptr, 1 << 20);
  ASSERT_NE(large, nullptr);
  memset(large, 1, 1 << 20);
  large = PoolReallocate(large, 2 << 20);
  ASSERT_NE(large, nullptr);
  EXPECT_EQ(static_cast<unsigned char*>(large)[(1 << 20) - 1], 1);
  PoolFree(large);
  for (void* block : blocks) PoolFree(block);
}

// An empty block asked for when the pool is all but full still lies inside
// the pool: freeing it must not hand a static address to the C library.
TEST(MemoryPool, EmptyBlockAtTheEndOfThePool) {
  void* almostAll = PoolReallocate(nullptr, 4064);
  void* empty = PoolReallocate(nullptr, 0);
  ASSERT_NE(empty, nullptr);
  PoolFree(empty);
  PoolFree(almostAll);
}

TEST(MemoryPool, StartsOverWhenEveryBlockIsReleased) {
  void* a = PoolReallocate(nullptr, 32);
  void* b = PoolReallocate(nullptr, 32);
  PoolFree(a);
  PoolFree(b);
  EXPECT_EQ(PoolReallocate(nullptr, 32), a);
  PoolFree(a);
}

}  // namespace
