#include "bench/fresh_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <fstream>
#include <mutex>
#include <stop_token>
#include <thread>

namespace scenario::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kTmpfs = "/dev/shm";
constexpr const char* kNoOutput = "/dev/null";
constexpr double kKilobytesPerMegabyte = 1024;
constexpr int kMegabyteShift = 20;

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

// Standard output and error of a spawned program go to /dev/null.
struct SilentOutput {
  SilentOutput() {
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, kNoOutput, O_WRONLY, 0);
    ::posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  }
  ~SilentOutput() { ::posix_spawn_file_actions_destroy(&actions); }
  SilentOutput(const SilentOutput&) = delete;
  SilentOutput& operator=(const SilentOutput&) = delete;
  posix_spawn_file_actions_t actions{};
};

// The same for a forked child, between fork and exec: system calls only.
void silence_output() {
  const int null = ::open(kNoOutput, O_WRONLY);
  ::dup2(null, STDOUT_FILENO);
  ::dup2(null, STDERR_FILENO);
  if (null > STDERR_FILENO) ::close(null);
}

struct Descriptor {
  explicit Descriptor(int number) : fd(number) {}
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int fd;
};

// glibc 2.36 declares the pidfd calls without C linkage in C++: they are
// made as the system calls they are.
int pidfd_of(pid_t process) { return static_cast<int>(::syscall(SYS_pidfd_open, process, 0)); }
void kill_through(int pidfd) { ::syscall(SYS_pidfd_send_signal, pidfd, SIGKILL, nullptr, 0); }

// Kills the child once kRunDeadline has passed, unless stopped first. The
// kill goes through a pidfd, so that a late one can never reach another
// process that took the number of a child already reaped.
class Deadline {
 public:
  explicit Deadline(pid_t child) : child_(pidfd_of(child)) {}

  // Stops the watch; tells whether the child had to be killed.
  bool passed() {
    watch_.request_stop();
    watch_.join();
    return passed_;
  }

 private:
  void watch(const std::stop_token& stop) {
    std::mutex mutex;
    std::condition_variable_any wake;
    std::unique_lock lock(mutex);
    if (wake.wait_for(lock, stop, kRunDeadline, [&stop] { return stop.stop_requested(); })) return;
    passed_ = true;
    kill_through(child_.fd);
  }

  Descriptor child_;
  bool passed_ = false;
  std::jthread watch_{[this](const std::stop_token& stop) { watch(stop); }};  // last: it uses the others
};

void limit_address_space(pid_t child) {
  const rlimit limit{kRunAddressSpace, kRunAddressSpace};
  ::prlimit(child, RLIMIT_AS, &limit, nullptr);
}

// Why a run that ended with this wait status is no success; empty when it is.
std::string failure_of(int status, int expected_status, bool deadline_passed) {
  if (deadline_passed) {
    return "killed after the deadline of " + std::to_string(kRunDeadline.count()) + " s";
  }
  if (WIFSIGNALED(status)) {
    return "killed by signal " + std::to_string(WTERMSIG(status)) + " (" + ::strsignal(WTERMSIG(status)) + ")";
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != expected_status) {
    return "exit status " + std::to_string(WEXITSTATUS(status)) + ", expected " + std::to_string(expected_status);
  }
  return {};
}

// Settles a run from the wait status of its end.
void judge(FreshRun& run, int status, int expected_status, bool deadline_passed) {
  run.failure = failure_of(status, expected_status, deadline_passed);
  run.ok = run.failure.empty();
}

FreshRun not_started(const Command& command, const std::string& reason) {
  return {.failure = "cannot start " + command.front() + ": " + reason};
}

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

void time_run(FreshRun& run, Clock::time_point start, const rusage& usage) {
  run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  run.cpu_seconds = seconds_of(usage.ru_utime) + seconds_of(usage.ru_stime);
}

bool is_exit_stop(int status) { return WIFSTOPPED(status) && status >> 16 == PTRACE_EVENT_EXIT; }

}  // namespace

std::filesystem::path scratch_parent() {
  return std::filesystem::is_directory(kTmpfs) ? std::filesystem::path(kTmpfs)
                                               : std::filesystem::temp_directory_path();
}

FreshRun run_fresh(const Command& command) {
  ProcessImage image(command);
  const SilentOutput output;
  const Clock::time_point start = Clock::now();
  pid_t child = 0;
  const int error =
      ::posix_spawn(&child, image.argv[0], &output.actions, nullptr, image.argv.data(), image.environment.data());
  if (error != 0) return not_started(command, std::strerror(error));
  // The program may have begun: it can have mapped no more than a start by now.
  limit_address_space(child);
  Deadline deadline(child);
  int status = 0;
  rusage usage{};
  ::wait4(child, &status, 0, &usage);
  FreshRun run;
  time_run(run, start, usage);
  judge(run, status, 0, deadline.passed());
  return run;
}

// The child stops once right after it starts the program and once as it
// ends, while its memory is still there to be read.
FreshRun run_fresh_for_peak(const Command& command, int expected_status) {
  ProcessImage image(command);
  const Clock::time_point start = Clock::now();
  const pid_t child = ::fork();
  if (child < 0) return not_started(command, std::strerror(errno));
  if (child == 0) {
    ::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
    silence_output();
    ::execve(image.argv[0], image.argv.data(), image.environment.data());
    ::_exit(127);
  }
  int status = 0;
  rusage usage{};
  if (::waitpid(child, &status, 0) != child || !WIFSTOPPED(status)) return not_started(command, "exec failed");
  limit_address_space(child);
  ::ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACEEXIT | PTRACE_O_EXITKILL);
  Deadline deadline(child);
  ::ptrace(PTRACE_CONT, child, nullptr, nullptr);
  FreshRun run;
  while (::wait4(child, &status, 0, &usage) == child && WIFSTOPPED(status)) {
    const bool exit_stop = is_exit_stop(status);
    if (exit_stop) run.peak_rss_mb = vm_hwm_mb(child);
    // Any other stop is a signal for the program: hand it on.
    const intptr_t signal = exit_stop ? 0 : WSTOPSIG(status);
    ::ptrace(PTRACE_CONT, child, nullptr, reinterpret_cast<void*>(signal));
  }
  time_run(run, start, usage);
  judge(run, status, expected_status, deadline.passed());
  // Past the address space it may map, a program fails as it would on a
  // mistake of its own; its peak tells which.
  if (!run.ok && run.peak_rss_mb > 0) {
    run.failure += "; peak resident set " + std::to_string(std::lround(run.peak_rss_mb)) + " MB (a run may map " +
                   std::to_string(kRunAddressSpace >> kMegabyteShift) + " MB)";
  }
  return run;
}

}  // namespace scenario::bench
