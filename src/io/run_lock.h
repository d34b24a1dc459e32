#pragma once

#include <chrono>
#include <filesystem>
#include <string_view>

namespace scenario {

// The lock file of a directory's runs. One lock per directory rather than per
// scenario: the train files of scenario A with train 1_x and of scenario A_1
// with train x have the same names, so only the directory tells runs apart
// safely, and a run is short enough for others to wait.
inline constexpr std::string_view kRunLockName = ".scenario.lock";

// How long a run waits for the one before it, and how often it looks.
inline constexpr std::chrono::milliseconds kRunLockWait{30000};
inline constexpr std::chrono::milliseconds kRunLockPoll{10};

// One run at a time in a directory: an advisory lock (flock) on
// DIR/.scenario.lock, held from construction to destruction. Taking it waits
// at most `wait` for the run that holds it, then throws std::runtime_error
// saying so; a lock file that cannot be made throws std::system_error. Once
// held, the temporaries of killed runs are removed from the directory. The
// holder removes the lock file when it lets go, so a directory at rest has
// none; a killed run's stays until the next run.
class RunLock {
 public:
  explicit RunLock(const std::filesystem::path& dir, std::chrono::milliseconds wait = kRunLockWait);
  RunLock(const RunLock&) = delete;
  RunLock& operator=(const RunLock&) = delete;
  ~RunLock();

 private:
  std::filesystem::path path_;
  int fd_ = -1;
};

}  // namespace scenario
