#pragma once

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <string_view>

#include "io/temporaries.h"

namespace scenario {

// The lock file of a directory's runs. One lock per directory rather than per
// scenario: the train files of scenario A with train 1_x and of scenario A_1
// with train x have the same names, so only the directory tells runs apart
// safely, and a run is short enough for others to wait.
inline constexpr std::string_view kRunLockName = ".scenario.lock";

// How long a run waits for the one before it, and how often it looks.
inline constexpr std::chrono::milliseconds kRunLockWait{30000};
inline constexpr std::chrono::milliseconds kRunLockPoll{10};

// Another run holds the directory's lock for longer than this one would wait.
class DirectoryBusy : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One run at a time in a directory: an advisory lock (flock) on
// DIR/.scenario.lock, held from construction to destruction. Taking it waits
// at most `wait` for the run that holds it, then throws std::runtime_error
// saying so (DirectoryBusy); a lock file that cannot be made throws
// std::system_error. Once held, a switch of files that a stopped run recorded
// is completed (io/intent_record.h), and then the temporaries that killed
// runs left of the files named own are removed from the directory (none when
// own is not given). A lock file that another user made, and this one may
// not write, is locked all the same; the holder removes the lock file when it
// lets go, so a directory at rest has none; a killed run's stays until the
// next run.
class RunLock {
 public:
  explicit RunLock(const std::filesystem::path& dir, std::chrono::milliseconds wait = kRunLockWait,
                   OwnFileName own = nullptr);
  RunLock(const RunLock&) = delete;
  RunLock& operator=(const RunLock&) = delete;
  ~RunLock();

 private:
  void let_go();

  std::filesystem::path path_;
  int fd_ = -1;
};

// For a command that only reads the files of a directory: a switch of files
// that a stopped run recorded there is completed when the directory's lock
// can be had at once, so that the reading sees one whole set, never a mix of
// two. When another run holds the lock, or the switch cannot be completed
// (a directory this user may not write), throws std::runtime_error saying
// so rather than letting a mixed set be read.
void settle_pending_switch(const std::filesystem::path& dir);

}  // namespace scenario
