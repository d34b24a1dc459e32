#include "io/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace scenario {
namespace {

[[noreturn]] void fail(const std::string& what, const std::filesystem::path& path, int error) {
  throw std::system_error(error, std::generic_category(), what + " " + path.string());
}

// Removes the temporary file unless the rename has claimed it.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::filesystem::path path) : path_(std::move(path)) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (!claimed_) ::unlink(path_.c_str());
  }
  const std::filesystem::path& path() const { return path_; }
  void claim() { claimed_ = true; }

 private:
  std::filesystem::path path_;
  bool claimed_ = false;
};

void write_all(int fd, std::string_view bytes, const std::filesystem::path& path) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      fail("cannot write", path, errno);
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
}

}  // namespace

void replace_file(const std::filesystem::path& path, std::string_view bytes) {
  std::string pattern = (path.parent_path() / ("." + path.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) fail("cannot create a file beside", path, errno);
  TemporaryFile temporary(pattern);
  try {
    write_all(fd, bytes, path);
  } catch (...) {
    ::close(fd);
    throw;
  }
  // close reports a write that failed late (a full disk on some file systems).
  if (::close(fd) != 0) fail("cannot write", path, errno);
  // mkstemp makes the file private; a scenario file is as readable as any other.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::chmod(temporary.path().c_str(), 0666 & ~mask);
  if (::rename(temporary.path().c_str(), path.c_str()) != 0) fail("cannot replace", path, errno);
  temporary.claim();
}

}  // namespace scenario
