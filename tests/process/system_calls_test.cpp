// What msgcode asks of the operating system, seen through strace: one write
// per output statement, and no file opened or read.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "tests/support/process_runner.h"

namespace {

struct Trace {
  std::vector<std::string> StdoutWrites;  // the bytes of each write to descriptor 1
  std::vector<std::string> Calls;         // the name of every system call
};

std::string Unescape(const std::string& quoted) {
  std::string bytes;
  for (size_t i = 0; i < quoted.size(); ++i) {
    if (quoted[i] == '\\' && i + 3 < quoted.size() && quoted[i + 1] == 'x') {
      bytes += static_cast<char>(std::stoi(quoted.substr(i + 2, 2), nullptr, 16));
      i += 3;
    } else {
      bytes += quoted[i];
    }
  }
  return bytes;
}

// Runs msgcode under strace, which writes the trace with every byte of
// every write in hexadecimal.
Trace TraceMsgcode(const std::vector<std::string>& arguments) {
  char traceFile[] = "/tmp/msgcode-trace-XXXXXX";
  const int fd = mkstemp(traceFile);
  close(fd);
  ProcessOptions options;
  options.Arguments = arguments;
  options.Wrapper = {"/usr/bin/strace", "-qq", "-o", traceFile, "-xx", "-s", "4096"};
  RunProcess(MsgcodeExecutable(), options);

  std::ifstream file(traceFile);
  std::stringstream text;
  text << file.rdbuf();
  unlink(traceFile);

  Trace trace;
  static const std::regex call("^([a-z_0-9]+)\\((.*)$");
  static const std::regex write(
      "^write\\(1, \"((?:\\\\x[0-9a-f]{2})*)\", ([0-9]+)\\) += ([0-9]+)$");
  std::string line;
  while (std::getline(text, line)) {
    std::smatch match;
    if (std::regex_match(line, match, write)) trace.StdoutWrites.push_back(Unescape(match[1]));
    if (std::regex_match(line, match, call)) trace.Calls.push_back(match[1]);
  }
  return trace;
}

class SystemCalls : public testing::Test {
 protected:
  void SetUp() override {
    if (!MsgcodeRunsNatively()) {
      GTEST_SKIP() << "traced on the native build only";
    }
    if (access("/usr/bin/strace", X_OK) != 0) {
      SKIP_WITHOUT_TOOL("strace is not installed");
    }
  }
};

TEST_F(SystemCalls, OneWritePerStatement) {
  struct Case {
    std::vector<std::string> Arguments;
    size_t Writes;
    std::string Fixture;
  };
  const Case cases[] = {
      {{"151"}, 9, "lookup-151.out"},
      {{"12x"}, 1, "invalid-12x.out"},
      {{}, 6, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Arguments.empty() ? "no argument" : c.Arguments[0]);
    const Trace trace = TraceMsgcode(c.Arguments);
    ASSERT_EQ(trace.StdoutWrites.size(), c.Writes);
    std::string joined;
    for (const std::string& bytes : trace.StdoutWrites) joined += bytes;
    if (!c.Fixture.empty()) {
      EXPECT_EQ(joined, ReadFixture(c.Fixture));
    }
  }
  // The lookup's statements: a heading ending in ": ", then the message
  // with its line end; the separator line on its own.
  const Trace lookup = TraceMsgcode({"151"});
  EXPECT_EQ(lookup.StdoutWrites[0], "TP 5.5 COMPILER ERROR 151: ");
  EXPECT_EQ(lookup.StdoutWrites[1], "Virtual constructors not allowed here\r\n");
  EXPECT_EQ(lookup.StdoutWrites[4], std::string(51, '\xC4') + "\r\n");
}

TEST_F(SystemCalls, NoFileIsOpenedOrRead) {
  const Trace trace = TraceMsgcode({"151"});
  ASSERT_FALSE(trace.Calls.empty());
  for (const std::string& name : trace.Calls) {
    EXPECT_NE(name, "open");
    EXPECT_NE(name, "openat");
    EXPECT_NE(name, "read");
    EXPECT_NE(name, "pread64");
  }
}

}  // namespace
