#include "io/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>
#include <system_error>

#include "io/file_error.h"
#include "io/file_system.h"
#include "memory/large_buffer.h"

namespace scenario {
namespace {

// Closes the descriptor however the read ends.
class OpenFile {
 public:
  explicit OpenFile(int fd) : fd_(fd) {}
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  ~OpenFile() { ::close(fd_); }
  int fd() const { return fd_; }

 private:
  int fd_;
};

// The size of the regular file open at fd.
std::uintmax_t regular_file_size(int fd, const std::filesystem::path& path) {
  struct stat status {};
  if (::fstat(fd, &status) != 0) fail("cannot read", path, errno);
  if (!S_ISREG(status.st_mode)) fail("cannot read", path, kNotRegularFile);
  return static_cast<std::uintmax_t>(status.st_size);
}

void check_size(std::uintmax_t size, const std::filesystem::path& path, SizeCap cap) {
  if (size <= cap.bytes) return;
  throw std::system_error(EFBIG, file_category(),
                          "cannot read " + path.string() + ": " + std::to_string(size) + " bytes, more than the " +
                              std::to_string(cap.bytes) + " of " + std::string(cap.of));
}

}  // namespace

FileBytes::FileBytes(size_t capacity) : data_(static_cast<char*>(allocate_buffer(capacity)), Free{capacity}) {
  if (data_ == nullptr) throw std::bad_alloc();
}

void FileBytes::Free::operator()(char* bytes) const { free_buffer(bytes, capacity); }

FileBytes read_file(const std::filesystem::path& path, SizeCap cap) {
  // Opened without blocking, so that a FIFO without a writer is refused
  // rather than waited on; a regular file reads the same either way.
  const int fd = file_system().open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) fail("cannot read", path, errno);
  const OpenFile file(fd);
  const std::uintmax_t size = regular_file_size(fd, path);
  check_size(size, path, cap);
  FileBytes bytes(static_cast<size_t>(size));
  while (bytes.size_ < size) {
    const ssize_t got = file_system().read(fd, bytes.data_.get() + bytes.size_, size - bytes.size_, path);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) fail("cannot read", path, errno);
    if (got == 0) break;  // the file shrank while it was read
    bytes.size_ += static_cast<size_t>(got);
  }
  return bytes;
}

bool file_missing(const std::filesystem::path& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) != 0 && errno == ENOENT;
}

}  // namespace scenario
