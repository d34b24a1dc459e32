#include "io/run_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "io/file_error.h"
#include "io/file_system.h"
#include "io/intent_record.h"
#include "io/temporaries.h"

namespace scenario {
namespace {

// The lock is held on the file the name stands for: a holder that let go may
// have removed the file this descriptor still locks.
bool still_named(int fd, const std::filesystem::path& path) {
  struct stat held {}, named {};
  return ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
         held.st_ino == named.st_ino;
}

// The descriptor of the locked lock file, or -1 while another run holds it.
int try_lock(const std::filesystem::path& path) {
  const int fd = file_system().open(path, O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) fail("cannot make the lock file", path, errno);
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    ::close(fd);
    if (error != EWOULDBLOCK) fail("cannot lock", path, error);
    return -1;
  }
  if (still_named(fd, path)) return fd;
  ::close(fd);
  return -1;
}

std::string seconds(std::chrono::milliseconds wait) {
  std::ostringstream text;
  text << static_cast<double>(wait.count()) / 1000.0 << " s";
  return text.str();
}

}  // namespace

RunLock::RunLock(const std::filesystem::path& dir, std::chrono::milliseconds wait)
    : path_(dir / kRunLockName) {
  const auto deadline = std::chrono::steady_clock::now() + wait;
  while ((fd_ = try_lock(path_)) < 0) {
    if (std::chrono::steady_clock::now() >= deadline) {
      throw DirectoryBusy("another run is using " + dir.string() + ": its lock " + path_.string() +
                          " was still held after " + seconds(wait));
    }
    std::this_thread::sleep_for(kRunLockPoll);
  }
  try {
    // In this order: the sweep would take the temporaries of a switch that a
    // stopped run recorded for temporaries of dead writers.
    complete_pending_switch(dir);
    remove_dead_temporaries(dir);
  } catch (...) {
    let_go();
    throw;
  }
}

RunLock::~RunLock() { let_go(); }

void RunLock::let_go() {
  // Removed while still held: a run waiting on this file sees it gone and
  // makes a new one.
  file_system().unlink(path_);
  ::close(fd_);
}

void settle_pending_switch(const std::filesystem::path& file_dir) {
  const std::filesystem::path dir = file_dir.empty() ? std::filesystem::path(".") : file_dir;
  if (!switch_pending(dir)) return;
  const std::string where = dir.string();
  try {
    const RunLock lock(dir, std::chrono::milliseconds(0));
  } catch (const DirectoryBusy&) {
    throw std::runtime_error("the scenario files in " + where +
                             " are being switched to new ones by another run: read them once it has ended");
  } catch (const std::exception& e) {
    throw std::runtime_error("the scenario files in " + where +
                             " are between two sets, and the switch to the new one cannot be finished here: " +
                             e.what());
  }
}

}  // namespace scenario
