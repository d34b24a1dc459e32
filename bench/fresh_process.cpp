#include "bench/fresh_process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <fstream>

namespace scenario::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kTmpfs = "/dev/shm";
constexpr double kKilobytesPerMegabyte = 1024;

// The argument vector and the environment of a run: PATH alone, no DISPLAY.
struct ProcessImage {
  explicit ProcessImage(const Command& command) {
    for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
  }
  std::vector<char*> argv;
  std::string path_variable = "PATH=/usr/bin:/bin";
  std::vector<char*> environment{path_variable.data(), nullptr};
};

bool ended_cleanly(int status) { return WIFEXITED(status) && WEXITSTATUS(status) == 0; }

// The high-water mark of a process's resident set, from /proc; 0 when absent.
double vm_hwm_mb(pid_t process) {
  std::ifstream status("/proc/" + std::to_string(process) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(line.find(':') + 1)) / kKilobytesPerMegabyte;
  }
  return 0;
}

double seconds_of(const timeval& time) {
  constexpr double kMicrosecondsPerSecond = 1e6;
  return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / kMicrosecondsPerSecond;
}

bool is_exit_stop(int status) { return WIFSTOPPED(status) && status >> 16 == PTRACE_EVENT_EXIT; }

}  // namespace

std::filesystem::path scratch_parent() {
  return std::filesystem::is_directory(kTmpfs) ? std::filesystem::path(kTmpfs)
                                               : std::filesystem::temp_directory_path();
}

FreshRun run_fresh(const Command& command) {
  ProcessImage image(command);
  const Clock::time_point start = Clock::now();
  pid_t child = 0;
  if (::posix_spawn(&child, image.argv[0], nullptr, nullptr, image.argv.data(), image.environment.data()) != 0) return {};
  int status = 0;
  rusage usage{};
  const bool waited = ::wait4(child, &status, 0, &usage) == child;
  return {waited && ended_cleanly(status), std::chrono::duration<double>(Clock::now() - start).count(),
          seconds_of(usage.ru_utime) + seconds_of(usage.ru_stime)};
}

// The child stops once right after it starts the program and once as it
// ends, while its memory is still there to be read.
double peak_rss_mb(const Command& command) {
  ProcessImage image(command);
  const pid_t child = ::fork();
  if (child == 0) {
    ::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
    ::execve(image.argv[0], image.argv.data(), image.environment.data());
    ::_exit(127);
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child || !WIFSTOPPED(status)) return 0;
  ::ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACEEXIT | PTRACE_O_EXITKILL);
  ::ptrace(PTRACE_CONT, child, nullptr, nullptr);
  double peak = 0;
  while (::waitpid(child, &status, 0) == child && WIFSTOPPED(status)) {
    const bool exit_stop = is_exit_stop(status);
    if (exit_stop) peak = vm_hwm_mb(child);
    // Any other stop is a signal for the program: hand it on.
    const intptr_t signal = exit_stop ? 0 : WSTOPSIG(status);
    ::ptrace(PTRACE_CONT, child, nullptr, reinterpret_cast<void*>(signal));
  }
  return ended_cleanly(status) ? peak : 0;
}

}  // namespace scenario::bench
