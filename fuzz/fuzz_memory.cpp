// Fuzz target for the run-time's heap: GetMem, ResizeMem and FreeMem over the
// pool in the executable and the C library's heap behind it, in random
// sequences of new blocks, resized blocks (grown, shrunk, moved) and freed
// blocks. Every live block is filled with a pattern of its own; after every
// call each still holds its pattern over its whole size, no two overlap, and
// each is aligned for any object. AddressSanitizer watches the blocks that
// come from the C library; the pool's are checked by their patterns: the
// blocks that a call hands out or changes at once, all of them at the end.
#include <fuzzer/FuzzedDataProvider.h>
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "runtime/memory/memory.h"

// The checks walk every byte; coverage of them would only slow the run.
#define NOT_COVERED __attribute__((no_sanitize("coverage")))

namespace {

struct LiveBlock {
  unsigned char* Bytes;
  size_t Size;
  unsigned char Pattern;
};

// The byte at `offset` of a block filled with `pattern`: it changes along
// the block, so that a shifted or partly copied block shows.
NOT_COVERED unsigned char PatternByte(unsigned char pattern, size_t offset) {
  return static_cast<unsigned char>(pattern + offset * 7 + offset / 251);
}

NOT_COVERED void Fill(unsigned char* bytes, size_t from, size_t to, unsigned char pattern) {
  for (size_t i = from; i < to; ++i) bytes[i] = PatternByte(pattern, i);
}

std::string Describe(const std::vector<std::string>& steps) {
  std::string shown = "steps:";
  for (const std::string& step : steps) shown += "\n  " + step;
  return shown;
}

NOT_COVERED bool HoldsPattern(const LiveBlock& block) {
  for (size_t i = 0; i < block.Size; ++i)
    if (block.Bytes[i] != PatternByte(block.Pattern, i)) return false;
  return true;
}

void CheckBlock(const LiveBlock& block, size_t index, const std::vector<std::string>& steps) {
  FUZZ_CHECK(reinterpret_cast<uintptr_t>(block.Bytes) % alignof(max_align_t) == 0,
             "block " + std::to_string(index) + " is not aligned\n" + Describe(steps));
  FUZZ_CHECK(HoldsPattern(block), "block " + std::to_string(index) + " of " +
                                      std::to_string(block.Size) + " bytes changed\n" +
                                      Describe(steps));
}

// No two blocks share a byte: sorted by address, each ends before the next.
void CheckNoOverlap(const std::vector<LiveBlock>& blocks, const std::vector<std::string>& steps) {
  std::vector<LiveBlock> sorted = blocks;
  std::sort(sorted.begin(), sorted.end(),
            [](const LiveBlock& a, const LiveBlock& b) { return a.Bytes < b.Bytes; });
  for (size_t b = 1; b < sorted.size(); ++b)
    FUZZ_CHECK(sorted[b - 1].Bytes + sorted[b - 1].Size <= sorted[b].Bytes,
               "two blocks overlap\n" + Describe(steps));
}

// Mostly sizes the argument list asks for; now and then one beyond the pool.
size_t ConsumeSize(FuzzedDataProvider& input) {
  switch (input.ConsumeIntegralInRange(0, 3)) {
    case 0:
      return input.ConsumeIntegralInRange<size_t>(1, 40);
    case 1:
      return input.ConsumeIntegralInRange<size_t>(1, 600);
    case 2:
      return 8 * input.ConsumeIntegralInRange<size_t>(1, 80);
    default:
      return input.ConsumeIntegralInRange<size_t>(1, 6000);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  std::vector<LiveBlock> blocks;
  std::vector<std::string> steps;
  unsigned char nextPattern = 1;

  while (input.remaining_bytes() > 0 && steps.size() < 200) {
    const int action = input.ConsumeIntegralInRange(0, 3);
    if (action == 0 || blocks.empty()) {
      const size_t bytes = ConsumeSize(input);
      steps.push_back("GetMem(" + std::to_string(bytes) + ") as block " +
                      std::to_string(blocks.size()));
      auto* block = static_cast<unsigned char*>(GetMem(bytes));
      FUZZ_CHECK(block != nullptr, Describe(steps));
      Fill(block, 0, bytes, nextPattern);
      blocks.push_back({block, bytes, nextPattern++});
      CheckBlock(blocks.back(), blocks.size() - 1, steps);
    } else if (action == 1 || action == 2) {
      const size_t index = input.ConsumeIntegralInRange<size_t>(0, blocks.size() - 1);
      LiveBlock& block = blocks[index];
      // Mostly the growth of the argument list's table and entries.
      const size_t bytes = input.ConsumeBool()
                               ? block.Size + 8 * input.ConsumeIntegralInRange<size_t>(0, 16)
                               : ConsumeSize(input);
      steps.push_back("ResizeMem(block " + std::to_string(index) + " of " +
                      std::to_string(block.Size) + " bytes, " + std::to_string(bytes) + ")");
      auto* resized = static_cast<unsigned char*>(ResizeMem(block.Bytes, bytes));
      FUZZ_CHECK(resized != nullptr, Describe(steps));
      // What the block held, up to the smaller size, is still there.
      FUZZ_CHECK(HoldsPattern({resized, std::min(block.Size, bytes), block.Pattern}),
                 "resizing lost bytes\n" + Describe(steps));
      if (bytes > block.Size) Fill(resized, block.Size, bytes, block.Pattern);
      block.Bytes = resized;
      block.Size = bytes;
      CheckBlock(block, index, steps);
    } else {
      const size_t index = input.ConsumeIntegralInRange<size_t>(0, blocks.size() - 1);
      steps.push_back("FreeMem(block " + std::to_string(index) + ")");
      FreeMem(blocks[index].Bytes);
      blocks.erase(blocks.begin() + static_cast<std::ptrdiff_t>(index));
    }
    CheckNoOverlap(blocks, steps);
  }
  for (size_t b = 0; b < blocks.size(); ++b) CheckBlock(blocks[b], b, steps);

  // Everything back, so that the next run starts with an empty pool.
  for (const LiveBlock& block : blocks) FreeMem(block.Bytes);
  return 0;
}
