// Fuzz target for the command-line splitter: BuildArgumentListFromCommandLine
// with ParamCount and ParamStr over what it built, and the vector form that
// POSIX start-up uses.
//
// Input: the module path, a NUL, the command line; an input without a NUL is
// all command line, with a fixed module path. The command line ends at its
// first NUL, as the platform's command-line text does.
//
// Checked: the tokens against a splitter written here from the rules; that no
// token holds a double quote; that ParamCount and ParamStr agree with the
// list; that quoting the tokens back and splitting again gives them again;
// that separator bytes outside quotes never reach a token while those inside
// quotes do; that every entry's block has exactly its length plus one byte
// and the table exactly one slot more than entries. AddressSanitizer watches
// every read of the command line, which sits in a block of its exact size.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "runtime/args/argument_list.h"
#include "runtime/memory/memory.h"

namespace {

using Tokens = std::vector<std::string>;

bool IsSeparator(unsigned char byte) { return byte >= 1 && byte <= 32; }

// ---------------------------------------------------------------------------
// The reference, in two passes. The first pass gives every byte of the line
// its role: a quote byte (single, or one of a doubled pair), a byte read while
// quoting is on, or one read while it is off. The second cuts the line at the
// separator bytes read while quoting is off; every non-empty piece is a token
// and keeps its bytes that are not quote bytes.

enum class Role { Quote, Quoted, Plain };

std::vector<Role> RolesOf(const std::string& line) {
  std::vector<Role> roles(line.size(), Role::Plain);
  bool quoting = false;
  size_t i = 0;
  while (i < line.size()) {
    if (line[i] == '"' && i + 1 < line.size() && line[i + 1] == '"') {
      roles[i] = roles[i + 1] = Role::Quote;  // a doubled quote: nothing, no switch
      i += 2;
    } else if (line[i] == '"') {
      roles[i] = Role::Quote;
      quoting = !quoting;
      i += 1;
    } else {
      roles[i] = quoting ? Role::Quoted : Role::Plain;
      i += 1;
    }
  }
  return roles;
}

// Every token, the program's name first.
Tokens ReferenceSplit(const std::string& line) {
  const std::vector<Role> roles = RolesOf(line);
  Tokens tokens;
  std::string piece;
  std::string token;
  auto finishPiece = [&] {
    if (!piece.empty()) tokens.push_back(token);
    piece.clear();
    token.clear();
  };
  for (size_t i = 0; i < line.size(); ++i) {
    const auto byte = static_cast<unsigned char>(line[i]);
    if (roles[i] == Role::Plain && IsSeparator(byte)) {
      finishPiece();
      continue;
    }
    piece += line[i];
    if (roles[i] != Role::Quote) token += line[i];
  }
  finishPiece();
  return tokens;
}

// ---------------------------------------------------------------------------
// Block sizes, as the run-time asks its heap for them.

std::map<void*, size_t>& BlockSizes() {
  static std::map<void*, size_t> sizes;
  return sizes;
}

// The run-time's own heap, with the pool in front of the C library's.
const HeapReallocator RunTimeReallocate = HeapReallocate;

void* RecordingReallocate(void* block, size_t size) {
  void* resized = RunTimeReallocate(block, size);
  if (block != nullptr) BlockSizes().erase(block);
  if (resized != nullptr) BlockSizes()[resized] = size;
  return resized;
}

size_t BlockSize(void* block) {
  const auto found = BlockSizes().find(block);
  return found == BlockSizes().end() ? 0 : found->second;
}

// ---------------------------------------------------------------------------

// The command line in a heap block of its exact length and a NUL.
std::unique_ptr<char[]> ExactCopy(const std::string& line) {
  std::unique_ptr<char[]> copy(new char[line.size() + 1]);
  memcpy(copy.get(), line.data(), line.size());
  copy[line.size()] = '\0';
  return copy;
}

// The entries 1 onward of the list just built.
Tokens StoredArguments() {
  Tokens arguments;
  for (int32_t i = 1; i < ArgumentCount; ++i) arguments.emplace_back(ArgumentList[i]);
  return arguments;
}

Tokens SplitArguments(const std::string& modulePath, const std::string& line) {
  const std::unique_ptr<char[]> copy = ExactCopy(line);
  BuildArgumentListFromCommandLine(modulePath.c_str(), copy.get());
  return StoredArguments();
}

std::string Str(const ShortString& text) { return std::string(text.Bytes, text.Length); }

std::string Show(const Tokens& tokens) {
  std::string shown = "[";
  for (const std::string& token : tokens) shown += (shown.size() > 1 ? ", " : "") + Quoted(token);
  return shown + "]";
}

// Each argument inside one pair of quotes; an empty one is a doubled quote.
std::string QuoteWhole(const Tokens& arguments) {
  std::string line = "p";
  for (const std::string& argument : arguments) line += " \"" + argument + "\"";
  return line;
}

// Only the separator bytes of each argument quoted, each on its own, so
// that quoting switches on and off within one argument.
std::string QuoteSeparators(const Tokens& arguments) {
  std::string line = "p";
  for (const std::string& argument : arguments) {
    line += '\t';
    if (argument.empty()) line += "\"\"";
    for (const char c : argument) {
      if (IsSeparator(static_cast<unsigned char>(c)))
        line += std::string("\"") + c + "\"";
      else
        line += c;
    }
  }
  return line;
}

void CheckList(const std::string& modulePath, const std::string& line, const Tokens& expected) {
  const std::string context =
      "module path " + Quoted(modulePath) + ", command line " + Quoted(line);
  const auto count = static_cast<int32_t>(expected.size());
  FUZZ_CHECK(ArgumentCount == count, context + ": " + std::to_string(ArgumentCount) +
                                         " entries, expected " + std::to_string(count));
  FUZZ_CHECK(ArgumentList != nullptr, context);
  FUZZ_CHECK(ArgumentList[count] == nullptr, context + ": no end marker");
  FUZZ_CHECK(BlockSize(ArgumentList) == (expected.size() + 1) * sizeof(char*),
             context + ": the table is not cut to the entries and the end marker");

  FUZZ_CHECK(StoredArguments() == Tokens(expected.begin() + (count > 0 ? 1 : 0), expected.end()),
             context + ": arguments " + Show(StoredArguments()) + ", expected " +
                 Show(Tokens(expected.begin() + (count > 0 ? 1 : 0), expected.end())));
  if (count > 0)
    FUZZ_CHECK(ArgumentList[0] == modulePath, context + ": entry 0 is " + Quoted(ArgumentList[0]));

  FUZZ_CHECK(ParamCount() == count - 1, context + ": ParamCount " + std::to_string(ParamCount()));
  for (int32_t i = 0; i < count; ++i) {
    const std::string entry = ArgumentList[i];
    FUZZ_CHECK(BlockSize(ArgumentList[i]) == entry.size() + 1,
               context + ": entry " + std::to_string(i) + " has a block of " +
                   std::to_string(BlockSize(ArgumentList[i])) + " bytes");
    if (i > 0)
      FUZZ_CHECK(entry.find('"') == std::string::npos,
                 context + ": a double quote in " + Quoted(entry));
    const std::string param = Str(ParamStr(i));
    FUZZ_CHECK(param == entry.substr(0, 255),
               context + ": ParamStr(" + std::to_string(i) + ") is " + Quoted(param));
  }
  for (const int32_t outside : {-1, count, count + 1, INT32_MIN, INT32_MAX})
    FUZZ_CHECK(ParamStr(outside).Length == 0,
               context + ": ParamStr(" + std::to_string(outside) + ") is not empty");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  HeapReallocate = RecordingReallocate;
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::string modulePath = "C:\\Tools\\MSGCODE.EXE";
  std::string line = input;
  const size_t nul = input.find('\0');
  if (nul != std::string::npos) {
    modulePath = input.substr(0, nul < ModulePathSize ? nul : ModulePathSize);
    line = input.substr(nul + 1);
  }
  line = line.substr(0, line.find('\0'));  // the command line's own end

  const Tokens expected = ReferenceSplit(line);
  const Tokens arguments = SplitArguments(modulePath, line);
  CheckList(modulePath, line, expected);

  // Quoted back, the arguments split into themselves again.
  if (!expected.empty()) {
    const std::string wholeQuoted = QuoteWhole(arguments);
    FUZZ_CHECK(SplitArguments(modulePath, wholeQuoted) == arguments,
               "arguments of " + Quoted(line) + " quoted back as " + Quoted(wholeQuoted) +
                   " split into " + Show(StoredArguments()));
    const std::string separatorsQuoted = QuoteSeparators(arguments);
    FUZZ_CHECK(SplitArguments(modulePath, separatorsQuoted) == arguments,
               "arguments of " + Quoted(line) + " quoted back as " + Quoted(separatorsQuoted) +
                   " split into " + Show(StoredArguments()));
  }

  // Separator bytes read while quoting is on belong to their token; those
  // read while it is off never do. Turning the first kind into letters turns
  // the same bytes of the arguments into letters and changes nothing else.
  const std::vector<Role> roles = RolesOf(line);
  std::string lettered = line;
  for (size_t i = 0; i < line.size(); ++i)
    if (roles[i] == Role::Quoted && IsSeparator(static_cast<unsigned char>(line[i])))
      lettered[i] = 'Q';
  Tokens letteredExpected = arguments;
  for (std::string& argument : letteredExpected)
    for (char& c : argument)
      if (IsSeparator(static_cast<unsigned char>(c))) c = 'Q';
  FUZZ_CHECK(SplitArguments(modulePath, lettered) == letteredExpected,
             "separators quoted in " + Quoted(line) + " do not stay inside their arguments");

  // The same arguments as a vector, the form POSIX start-up hands over.
  if (!expected.empty()) {
    std::vector<const char*> vector;
    for (const std::string& token : expected) vector.push_back(token.c_str());
    BuildArgumentListFromVector(modulePath.c_str(), static_cast<int32_t>(vector.size()),
                                vector.data());
    CheckList(modulePath, line, expected);
  }

  ReleaseArgumentList();
  FUZZ_CHECK(ArgumentList == nullptr && ArgumentCount == 0, std::string("list left after release"));
  // Every block is free again: forget them all, so that this run leaves no
  // allocation of its own behind either.
  BlockSizes().clear();
  return 0;
}
