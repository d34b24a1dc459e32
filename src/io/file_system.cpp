#include "io/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace scenario {
namespace {

FileSystem& system_file_system() {
  static FileSystem system;
  return system;
}

FileSystem* current = nullptr;

}  // namespace

std::string_view op_name(FileOp op) {
  switch (op) {
    case FileOp::kOpen: return "open";
    case FileOp::kRead: return "read";
    case FileOp::kWrite: return "write";
    case FileOp::kFsync: return "fsync";
    case FileOp::kClose: return "close";
    case FileOp::kRename: return "rename";
    case FileOp::kUnlink: return "unlink";
    case FileOp::kFchmod: return "fchmod";
  }
  return "operation";
}

bool FileSystem::refused(FileOp op, const std::filesystem::path& path) {
  const int error = before(op, path);
  if (error == 0) return false;
  errno = error;
  return true;
}

int FileSystem::open(const std::filesystem::path& path, int flags, mode_t mode) {
  if (refused(FileOp::kOpen, path)) return -1;
  return ::open(path.c_str(), flags, mode);
}

int FileSystem::make_temporary(std::string& pattern) {
  if (refused(FileOp::kOpen, pattern)) return -1;
  return ::mkostemp(pattern.data(), O_CLOEXEC);
}

ssize_t FileSystem::read(int fd, char* buffer, size_t size, const std::filesystem::path& path) {
  if (refused(FileOp::kRead, path)) return -1;
  return ::read(fd, buffer, size);
}

ssize_t FileSystem::write(int fd, std::string_view bytes, const std::filesystem::path& path) {
  if (refused(FileOp::kWrite, path)) return -1;
  return ::write(fd, bytes.data(), bytes.size());
}

ssize_t FileSystem::pwrite(int fd, std::string_view bytes, uint64_t offset, const std::filesystem::path& path) {
  if (refused(FileOp::kWrite, path)) return -1;
  return ::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset));
}

int FileSystem::fsync(int fd, const std::filesystem::path& path) {
  if (refused(FileOp::kFsync, path)) return -1;
  return ::fsync(fd);
}

int FileSystem::close(int fd, const std::filesystem::path& path) {
  // A refused close still lets the descriptor go, as a failed close does.
  if (refused(FileOp::kClose, path)) {
    const int error = errno;
    ::close(fd);
    errno = error;
    return -1;
  }
  return ::close(fd);
}

int FileSystem::rename(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (refused(FileOp::kRename, to)) return -1;
  return ::rename(from.c_str(), to.c_str());
}

int FileSystem::unlink(const std::filesystem::path& path) {
  if (refused(FileOp::kUnlink, path)) return -1;
  return ::unlink(path.c_str());
}

int FileSystem::fchmod(int fd, mode_t mode, const std::filesystem::path& path) {
  if (refused(FileOp::kFchmod, path)) return -1;
  return ::fchmod(fd, mode);
}

FileSystem& file_system() { return current != nullptr ? *current : system_file_system(); }

ScopedFileSystem::ScopedFileSystem(FileSystem& replacement) : previous_(current) { current = &replacement; }

ScopedFileSystem::~ScopedFileSystem() { current = previous_; }

}  // namespace scenario
