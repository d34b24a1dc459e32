#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <string_view>

namespace scenario {

// One file of a staged set: written under a temporary name beside its target
// (see io/temporaries.h) and removed again unless the set is published.
class StagedFile {
 public:
  explicit StagedFile(std::filesystem::path target);
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;
  ~StagedFile();

  // Writes bytes after those already written.
  void append(std::string_view bytes);

  // Writes bytes at offset, past the end too: the file grows to hold them.
  void write_at(uint64_t offset, std::string_view bytes);

  const std::filesystem::path& target() const { return target_; }

 private:
  friend class StagedFiles;
  void sync_and_close();
  void rename_over_target();

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  int fd_ = -1;
  bool published_ = false;
};

// Files that replace their targets all together or not at all. Nothing is
// renamed until every file is complete and on disk; then the files are
// renamed in the order they were staged and the directory is flushed. An
// exception before the first rename leaves every target as it was (same
// contents, same inode) and no temporary. All failures throw
// std::system_error naming the file.
class StagedFiles {
 public:
  // A new empty file that will replace target.
  StagedFile& stage(const std::filesystem::path& target);

  void publish();

 private:
  std::deque<StagedFile> files_;  // a deque keeps the references stage gave out
};

}  // namespace scenario
