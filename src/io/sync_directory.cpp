#include "io/sync_directory.h"

#include <fcntl.h>

#include <cerrno>

#include "io/file_error.h"
#include "io/file_system.h"

namespace scenario {

void sync_directory(const std::filesystem::path& dir) {
  const std::filesystem::path path = dir.empty() ? std::filesystem::path(".") : dir;
  FileSystem& files = file_system();
  const int fd = files.open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) fail("cannot open the directory", path, errno);
  // Some file systems cannot sync a directory (EINVAL); there is nothing more to do.
  const bool synced = files.fsync(fd, path) == 0 || errno == EINVAL;
  const int error = errno;
  files.close(fd, path);
  if (!synced) fail("cannot flush to disk the directory", path, error);
}

}  // namespace scenario
