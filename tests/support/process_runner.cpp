#include "tests/support/process_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

struct Pipe {
  int Read = -1;
  int Write = -1;
};

Pipe MakePipe() {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  return {fds[0], fds[1]};
}

// Sets up descriptor `target` in the child as the sink says.
void ArrangeSink(int target, OutputSink sink, const Pipe& collector, const Pipe& broken) {
  switch (sink) {
    case OutputSink::Pipe:
      dup2(collector.Write, target);
      break;
    case OutputSink::DevFull: {
      int full = open("/dev/full", O_WRONLY);
      dup2(full, target);
      close(full);
      break;
    }
    case OutputSink::Closed:
      close(target);
      break;
    case OutputSink::BrokenPipe:
      dup2(broken.Write, target);
      break;
  }
}

void CollectOutput(int outFd, int errFd, std::string& out, std::string& err) {
  std::vector<pollfd> fds = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
  std::string* sinks[] = {&out, &err};
  int open = 2;
  while (open > 0) {
    if (poll(fds.data(), fds.size(), -1) < 0) continue;
    for (size_t i = 0; i < fds.size(); ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      char buffer[4096];
      ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<size_t>(n));
      } else {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
}

}  // namespace

ProcessResult RunProcess(const std::string& program, const ProcessOptions& options) {
  std::vector<std::string> words = options.Wrapper;
  words.push_back(program);
  for (const std::string& argument : options.Arguments) words.push_back(argument);
  std::vector<char*> argv;
  if (!options.EmptyArgumentVector)
    for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  Pipe out = MakePipe();
  Pipe err = MakePipe();
  Pipe broken = MakePipe();
  close(broken.Read);  // nobody will ever read it

  pid_t child = fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    ArrangeSink(STDOUT_FILENO, options.Stdout, out, broken);
    ArrangeSink(STDERR_FILENO, options.Stderr, err, broken);
    int null = open("/dev/null", O_RDONLY);
    dup2(null, STDIN_FILENO);
    // As from a shell: SIGPIPE at its default, so that what a broken pipe
    // does to msgcode is msgcode's own doing.
    signal(SIGPIPE, SIG_DFL);
    execv(words.front().c_str(), argv.data());
    _exit(127);
  }
  close(out.Write);
  close(err.Write);
  close(broken.Write);

  ProcessResult result;
  CollectOutput(out.Read, err.Read, result.Stdout, result.Stderr);
  int status = 0;
  waitpid(child, &status, 0);
  if (WIFEXITED(status)) result.ExitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.TermSignal = WTERMSIG(status);
  return result;
}

std::string MsgcodeExecutable() {
  const char* chosen = getenv("MSGCODE_EXE");
  return chosen != nullptr && *chosen != '\0' ? chosen : MSGCODE_DEFAULT_EXE;
}

std::vector<std::string> MsgcodeWrapper() {
  const char* wrapper = getenv("MSGCODE_EXE_WRAPPER");
  if (wrapper == nullptr || *wrapper == '\0') return {};
  return {wrapper};
}

bool MsgcodeRunsNatively() { return MsgcodeWrapper().empty(); }

ProcessResult RunMsgcode(ProcessOptions options) {
  options.Wrapper = MsgcodeWrapper();
  return RunProcess(MsgcodeExecutable(), options);
}

ProcessResult RunMsgcode(const std::vector<std::string>& arguments) {
  ProcessOptions options;
  options.Arguments = arguments;
  return RunMsgcode(options);
}

bool RequireAllTools() {
  const char* required = getenv("MSGCODE_REQUIRE_ALL");
  return required != nullptr && std::string(required) == "1";
}

std::string ReadFixture(const std::string& name) {
  std::ifstream file(std::string(MSGCODE_FIXTURES_DIR) + "/" + name, std::ios::binary);
  if (!file) throw std::runtime_error("missing fixture " + name);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}
