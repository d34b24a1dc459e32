#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
#include <string_view>

#include "io/directory_to_sync.h"

namespace scenario {

// Whether a written file must be on disk before it replaces its target: a
// file that is read back at once and deleted (the package's own sources)
// need not be, and flushing it would only cost time.
enum class Durability { kOnDisk, kTransient };

// One file of a staged set: written under a temporary name beside its target
// (see io/temporaries.h) and removed again unless the set is published.
class StagedFile {
 public:
  StagedFile(std::filesystem::path target, Durability durability);
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
  void discard();

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  Durability durability_;
  int fd_ = -1;
  bool handed_on_ = false;  // renamed, or named by an intent record
};

// Files in one directory that replace their targets all together or not at
// all, whatever instant a crash stops the switch at (io/intent_record.h).
// Nothing is renamed until every file is complete and on disk, the directory
// is open to be flushed, and the intent record is on disk; then the files
// are renamed in the order they were staged,
// the directory is flushed and the record goes. A failure before the record
// exists leaves every target as it was (same contents, same inode) and no
// temporary; a failure after it leaves the switch to the next holder of the
// directory's lock, which is why a set of more than one file is published
// under that lock (io/run_lock.h). All failures throw std::exception naming
// the file and what was tried.
class StagedFiles {
 public:
  explicit StagedFiles(Durability durability = Durability::kOnDisk) : durability_(durability) {}

  // A new empty file that will replace target.
  StagedFile& stage(const std::filesystem::path& target);

  void publish();

 private:
  std::filesystem::path directory() const;
  void record_intent(const std::filesystem::path& dir, const DirectoryToSync& to_sync);
  void rename_all(const std::optional<DirectoryToSync>& to_sync);

  Durability durability_;
  std::deque<StagedFile> files_;  // a deque keeps the references stage gave out
};

}  // namespace scenario
