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
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
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
      throw std::runtime_error("another run is using " + dir.string() + ": its lock " + path_.string() +
                               " was still held after " + seconds(wait));
    }
    std::this_thread::sleep_for(kRunLockPoll);
  }
  remove_dead_temporaries(dir);
}

RunLock::~RunLock() {
  // Removed while still held: a run waiting on this file sees it gone and
  // makes a new one.
  ::unlink(path_.c_str());
  ::close(fd_);
}

}  // namespace scenario
