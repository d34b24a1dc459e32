#pragma once

#include <filesystem>

namespace scenario {

// A directory whose entries are put on disk: a rename or a new name is
// durable once its directory is, and without that a crash soon after can
// bring the old names back. A switch opens the directory before its first
// rename, so that a run that could not flush it (a directory that may be
// written and searched but not read cannot be opened) fails before it changes
// anything. Both steps throw std::system_error naming the directory.
class DirectoryToSync {
 public:
  explicit DirectoryToSync(const std::filesystem::path& dir);
  DirectoryToSync(const DirectoryToSync&) = delete;
  DirectoryToSync& operator=(const DirectoryToSync&) = delete;
  ~DirectoryToSync();

  void sync() const;

 private:
  std::filesystem::path path_;
  int fd_ = -1;
};

}  // namespace scenario
