// How the run-time's input handling grows with its input.
//
// BuildArgumentList: command lines from 10 to 30,000 arguments, split from
// one command-line text (as on Windows) and taken from an argument vector
// (as on POSIX), on the run-time's heap and on the C library's. The counter
// per_argument is the time of one build and release divided by the number
// of arguments: flat when the cost is linear.
//
// A real run builds its list once, in a fresh process, where every block is
// carved from fresh heap. Built and released over and over, glibc's heap
// would measure its own policies instead of the growth of
// BuildArgumentList, so two of them are turned off:
// - handing memory back to the system: otherwise every list above the trim
//   threshold (128 KiB, some 3,000 arguments) pays for fresh pages again in
//   each iteration, a step of several times the cost per argument;
// - the "fast bins" of freed small blocks: a released list leaves tens of
//   thousands of them, and every later growth of the slot table sweeps them
//   together again, which makes large lists look some 40% dearer per
//   argument than small ones. Without them freed blocks merge at once, and
//   new ones are carved as from a fresh heap.
//
// ValSigned: the longest texts it can be given, 255 bytes each, one for every
// way through the conversion.
#include <benchmark/benchmark.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "runtime/args/argument_list.h"
#include "runtime/convert/val_signed.h"
#include "runtime/memory/memory.h"
#include "runtime/short_string.h"

namespace {

const char* const ModulePath = "/usr/local/bin/msgcode";

// Tokens as typed and as they arrive split, cycled through in this order so
// that every command line has the same mix: plain, quoted with a blank
// inside, a doubled quote, a number with a prefix, a sign.
struct Token {
  const char* Typed;
  const char* Split;
};
constexpr Token Tokens[] = {
    {"151", "151"}, {"\"a b\"", "a b"}, {"x\"\"y", "xy"}, {"$D2", "$D2"}, {"-42", "-42"},
};
constexpr size_t TokenKinds = sizeof Tokens / sizeof Tokens[0];

std::string CommandLine(int64_t arguments) {
  std::string line = "msgcode";
  for (int64_t i = 0; i < arguments; ++i) {
    line += ' ';
    line += Tokens[static_cast<size_t>(i) % TokenKinds].Typed;
  }
  return line;
}

void SetPerArgument(benchmark::State& state, int64_t arguments) {
  state.counters["per_argument"] = benchmark::Counter(
      static_cast<double>(arguments),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The heap the list is built on: the run-time's own, as msgcode runs it, or
// the C library's realloc alone. The run-time's heap serves small blocks from
// a pool of its own, so its small lists are cheaper per argument; over the C
// library's heap every size takes the same road, and what remains is the
// growth of BuildArgumentList itself.
class HeapChoice {
 public:
  explicit HeapChoice(bool cLibraryHeap) : saved_(HeapReallocate) {
    if (cLibraryHeap) HeapReallocate = realloc;
  }
  ~HeapChoice() { HeapReallocate = saved_; }

 private:
  HeapReallocator saved_;
};

void BuildFromCommandLine(benchmark::State& state, bool cLibraryHeap) {
  const HeapChoice heap(cLibraryHeap);
  const int64_t arguments = state.range(0);
  const std::string line = CommandLine(arguments);
  for (auto _ : state) {
    BuildArgumentListFromCommandLine(ModulePath, line.c_str());
    benchmark::DoNotOptimize(ArgumentList);
    ReleaseArgumentList();
  }
  if (ArgumentCount != 0 || ParamCount() != -1) state.SkipWithError("list not released");
  BuildArgumentListFromCommandLine(ModulePath, line.c_str());
  if (ParamCount() != arguments) state.SkipWithError("wrong number of arguments");
  ReleaseArgumentList();
  SetPerArgument(state, arguments);
}

void BuildFromVector(benchmark::State& state, bool cLibraryHeap) {
  const HeapChoice heap(cLibraryHeap);
  const int64_t arguments = state.range(0);
  std::vector<const char*> vector{"msgcode"};
  for (int64_t i = 0; i < arguments; ++i)
    vector.push_back(Tokens[static_cast<size_t>(i) % TokenKinds].Split);
  vector.push_back(nullptr);
  const auto count = static_cast<int32_t>(arguments + 1);
  for (auto _ : state) {
    BuildArgumentListFromVector(ModulePath, count, vector.data());
    benchmark::DoNotOptimize(ArgumentList);
    ReleaseArgumentList();
  }
  BuildArgumentListFromVector(ModulePath, count, vector.data());
  if (ParamCount() != arguments) state.SkipWithError("wrong number of arguments");
  ReleaseArgumentList();
  SetPerArgument(state, arguments);
}

void BM_BuildArgumentListFromCommandLine(benchmark::State& state) {
  BuildFromCommandLine(state, false);
}
void BM_BuildArgumentListFromCommandLineOnCHeap(benchmark::State& state) {
  BuildFromCommandLine(state, true);
}
void BM_BuildArgumentListFromVector(benchmark::State& state) { BuildFromVector(state, false); }
void BM_BuildArgumentListFromVectorOnCHeap(benchmark::State& state) {
  BuildFromVector(state, true);
}

// 10, 30, 100, ... 30,000 arguments.
void ArgumentCounts(benchmark::internal::Benchmark* benchmark) {
  for (int64_t count : {10, 30, 100, 300, 1000, 3000, 10000, 30000}) benchmark->Arg(count);
}

BENCHMARK(BM_BuildArgumentListFromCommandLine)->Apply(ArgumentCounts);
BENCHMARK(BM_BuildArgumentListFromCommandLineOnCHeap)->Apply(ArgumentCounts);
BENCHMARK(BM_BuildArgumentListFromVector)->Apply(ArgumentCounts);
BENCHMARK(BM_BuildArgumentListFromVectorOnCHeap)->Apply(ArgumentCounts);

// --- ValSigned ---------------------------------------------------------------

struct NumberCase {
  const char* Name;
  std::string Text;  // 255 bytes
  int32_t ErrorPos;  // what ValSigned must report
};

std::vector<NumberCase> LongestNumbers() {
  return {
      {"255 blanks", std::string(255, ' '), 256},
      {"blanks and tabs; largest decimal",
       std::string(122, ' ') + std::string(123, '\t') + "2147483647", 0},
      {"blanks; smallest decimal", std::string(244, ' ') + "-2147483648", 0},
      {"leading zeros; largest hexadecimal", "$" + std::string(246, '0') + "FFFFFFFF", 0},
      {"leading zeros; 32 binary digits", "%" + std::string(222, '0') + std::string(32, '1'), 0},
      {"leading zeros; largest octal", "&" + std::string(243, '0') + "37777777777", 0},
      {"overflow at the last digit", std::string(245, ' ') + "2147483648", 255},
  };
}

ShortString ToShortString(const std::string& text) {
  ShortString shortString;
  AssignShortString(shortString, text.data(), text.size());
  return shortString;
}

void BM_ValSignedLongest(benchmark::State& state) {
  const NumberCase number = LongestNumbers()[static_cast<size_t>(state.range(0))];
  const ShortString text = ToShortString(number.Text);
  if (number.Text.size() != 255) state.SkipWithError("case is not 255 bytes long");
  int32_t errorPos = -1;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ValSigned(2, text, errorPos));
    benchmark::DoNotOptimize(errorPos);
  }
  if (errorPos != number.ErrorPos) state.SkipWithError("unexpected error position");
  state.SetLabel(number.Name);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(number.Text.size()));
}

BENCHMARK(BM_ValSignedLongest)->DenseRange(0, 6);

}  // namespace

int main(int argc, char** argv) {
#if defined(__GLIBC__)
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
  mallopt(M_MXFAST, 0);
#endif
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
