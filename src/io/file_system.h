#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace scenario {

// The file operations of io/, each of which a test may make fail.
enum class FileOp { kOpen, kRead, kWrite, kFsync, kClose, kRename, kUnlink, kFchmod };

// The operation's name as a message or a test names it: "fsync".
std::string_view op_name(FileOp op);

// Every file operation of io/ goes through this one seam, so that a test can
// make the N-th of them fail with a real errno, or end the process there, and
// see what a crash or a failing disk at that instant leaves. Each call runs
// the system call after asking `before`, and returns what the system call
// returns, errno set as it sets it.
class FileSystem {
 public:
  FileSystem() = default;
  FileSystem(const FileSystem&) = delete;
  FileSystem& operator=(const FileSystem&) = delete;
  virtual ~FileSystem() = default;

  int open(const std::filesystem::path& path, int flags, mode_t mode = 0);
  // mkostemp: pattern ends in XXXXXX, which becomes the name made.
  int make_temporary(std::string& pattern);
  ssize_t read(int fd, char* buffer, size_t size, const std::filesystem::path& path);
  ssize_t write(int fd, std::string_view bytes, const std::filesystem::path& path);
  ssize_t pwrite(int fd, std::string_view bytes, uint64_t offset, const std::filesystem::path& path);
  int fsync(int fd, const std::filesystem::path& path);
  int close(int fd, const std::filesystem::path& path);
  int rename(const std::filesystem::path& from, const std::filesystem::path& to);
  int unlink(const std::filesystem::path& path);
  int fchmod(int fd, mode_t mode, const std::filesystem::path& path);

 protected:
  // Asked before each operation on path: 0 lets it run; an errno makes it
  // fail with that errno, without running. The system's own file system
  // lets everything run.
  virtual int before(FileOp /*op*/, const std::filesystem::path& /*path*/) { return 0; }

 private:
  // errno set to error and -1, when before refuses the operation.
  bool refused(FileOp op, const std::filesystem::path& path);
};

// The file system io/ uses: the system's own, unless a test has put another
// in its place.
FileSystem& file_system();

// Puts a file system in the place of the one in use, for the life of this
// object. The one mutable global of the program, as a test's seam.
class ScopedFileSystem {
 public:
  explicit ScopedFileSystem(FileSystem& replacement);
  ScopedFileSystem(const ScopedFileSystem&) = delete;
  ScopedFileSystem& operator=(const ScopedFileSystem&) = delete;
  ~ScopedFileSystem();

 private:
  FileSystem* previous_;
};

}  // namespace scenario
