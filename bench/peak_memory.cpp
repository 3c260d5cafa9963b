// Peak resident memory of one run of a program, in KiB: its VmHWM, read
// from /proc just before it exits, while its memory still exists.
//
//   peak_memory PROGRAM [ARGUMENT...]
//
// The resource usage that wait4 reports is no good for a program this
// small: the kernel folds the memory of the process image that exec
// replaced into it, so it would show this tool's own size. Stopping the
// program at its exit under ptrace and reading its status avoids that.
// Its standard output goes to /dev/null.
#include <fcntl.h>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

namespace {

long ReadPeakKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  return -1;
}

bool IsExitEvent(int status) {
  return WIFSTOPPED(status) && (status >> 8) == (SIGTRAP | (PTRACE_EVENT_EXIT << 8));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: peak_memory PROGRAM [ARGUMENT...]\n";
    return 2;
  }
  const pid_t pid = fork();
  if (pid < 0) {
    std::perror("fork");
    return 2;
  }
  if (pid == 0) {
    const int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, STDOUT_FILENO);
    ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
    execv(argv[1], argv + 1);
    std::perror("exec");
    _exit(127);
  }

  int status = 0;
  waitpid(pid, &status, 0);  // stopped right after exec
  if (!WIFSTOPPED(status)) {
    std::cerr << "peak_memory: " << argv[1] << " did not start\n";
    return 2;
  }
  ptrace(PTRACE_SETOPTIONS, pid, nullptr, reinterpret_cast<void*>(PTRACE_O_TRACEEXIT));
  long peak = -1;
  for (;;) {
    ptrace(PTRACE_CONT, pid, nullptr, nullptr);
    if (waitpid(pid, &status, 0) < 0 || WIFEXITED(status) || WIFSIGNALED(status)) break;
    if (IsExitEvent(status)) peak = ReadPeakKiB(pid);
  }
  if (peak < 0) {
    std::cerr << "peak_memory: no exit seen for " << argv[1] << "\n";
    return 2;
  }
  std::cout << peak << "\n";
  return 0;
}
