#include "io/staged_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <set>

#include "io/file_error.h"
#include "io/temporaries.h"

namespace scenario {
namespace {

// Scenario files are as readable as any other file the user makes; mkstemp
// makes them private.
mode_t ordinary_file_mode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

void refuse_directory_in_the_way(const std::filesystem::path& target) {
  struct stat status {};
  if (::lstat(target.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) fail("cannot replace", target, EISDIR);
}

// A rename is on disk once its directory is: without this, a crash soon after
// can bring the old names back.
void sync_directory(const std::filesystem::path& dir) {
  const std::filesystem::path path = dir.empty() ? std::filesystem::path(".") : dir;
  const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) fail("cannot open the directory", path, errno);
  // Some file systems cannot sync a directory (EINVAL); there is nothing more to do.
  const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
  const int error = errno;
  ::close(fd);
  if (!synced) fail("cannot flush to disk the directory", path, error);
}

}  // namespace

StagedFile::StagedFile(std::filesystem::path target) : target_(std::move(target)) {
  std::string pattern = temporary_pattern(target_);
  fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd_ < 0) fail("cannot create a file beside", target_, errno);
  temporary_ = pattern;
  ::fchmod(fd_, ordinary_file_mode());
}

StagedFile::~StagedFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!published_) ::unlink(temporary_.c_str());
}

void StagedFile::append(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      fail("cannot write", target_, errno);
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
}

void StagedFile::write_at(uint64_t offset, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::pwrite(fd_, bytes.data(), bytes.size(), static_cast<off_t>(offset));
    if (written < 0) {
      if (errno == EINTR) continue;
      fail("cannot write", target_, errno);
    }
    bytes.remove_prefix(static_cast<size_t>(written));
    offset += static_cast<uint64_t>(written);
  }
}

void StagedFile::sync_and_close() {
  if (::fsync(fd_) != 0) fail("cannot flush to disk", target_, errno);
  // close reports a write that failed late (a full disk on some file systems).
  const int closed = ::close(fd_);
  fd_ = -1;
  if (closed != 0) fail("cannot write", target_, errno);
}

void StagedFile::rename_over_target() {
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) fail("cannot replace", target_, errno);
  published_ = true;
}

StagedFile& StagedFiles::stage(const std::filesystem::path& target) { return files_.emplace_back(target); }

void StagedFiles::publish() {
  for (StagedFile& file : files_) file.sync_and_close();
  for (const StagedFile& file : files_) refuse_directory_in_the_way(file.target());
  std::set<std::filesystem::path> dirs;
  for (StagedFile& file : files_) {
    file.rename_over_target();
    dirs.insert(file.target().parent_path());
  }
  for (const std::filesystem::path& dir : dirs) sync_directory(dir);
}

}  // namespace scenario
