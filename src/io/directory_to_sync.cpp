#include "io/directory_to_sync.h"

#include <fcntl.h>

#include <cerrno>

#include "io/file_error.h"
#include "io/file_system.h"

namespace scenario {

DirectoryToSync::DirectoryToSync(const std::filesystem::path& dir)
    : path_(dir.empty() ? std::filesystem::path(".") : dir) {
  fd_ = file_system().open(path_, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) fail("cannot open the directory", path_, errno);
}

DirectoryToSync::~DirectoryToSync() { file_system().close(fd_, path_); }

void DirectoryToSync::sync() const {
  // Some file systems cannot sync a directory (EINVAL); there is nothing more to do.
  if (file_system().fsync(fd_, path_) != 0 && errno != EINVAL) fail("cannot flush to disk the directory", path_, errno);
}

}  // namespace scenario
