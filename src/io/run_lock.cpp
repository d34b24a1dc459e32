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

// A lock file that is there but cannot be opened: a link, or another user's.
[[noreturn]] void fail_on_lock_file(const std::filesystem::path& path, int error) {
  struct stat status {};
  const bool there = ::lstat(path.c_str(), &status) == 0;
  if (there && S_ISLNK(status.st_mode)) fail("cannot use the lock file", path, kSymbolicLink);
  if (there && error == EACCES && status.st_uid != ::geteuid()) {
    fail("cannot open the lock file of another user's run (user " + std::to_string(status.st_uid) +
             " made it, and this user may not read it); wait for that run to end, or ask them to remove",
         path, error);
  }
  fail_to_make("cannot make the lock file", path, error);
}

// The lock file, made when missing. Another user's, which this one may not
// write, is opened for reading: flock locks either.
int open_lock_file(const std::filesystem::path& path) {
  FileSystem& files = file_system();
  int fd = files.open(path, O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd >= 0) return fd;
  int error = errno;
  if (error == EACCES) {
    fd = files.open(path, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) return fd;
    if (errno != ENOENT) error = errno;  // no file there: this user may not make one
  }
  fail_on_lock_file(path, error);
}

// The descriptor of the locked lock file, or -1 while another run holds it.
int try_lock(const std::filesystem::path& path) {
  const int fd = open_lock_file(path);
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

RunLock::RunLock(const std::filesystem::path& dir, std::chrono::milliseconds wait, OwnFileName own)
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
    if (own != nullptr) remove_dead_temporaries(dir, own);
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
