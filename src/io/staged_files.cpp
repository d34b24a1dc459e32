#include "io/staged_files.h"

#include <sys/stat.h>

#include <cerrno>
#include <optional>
#include <stdexcept>
#include <vector>

#include "io/file_error.h"
#include "io/file_system.h"
#include "io/intent_record.h"
#include "io/directory_to_sync.h"
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

}  // namespace

StagedFile::StagedFile(std::filesystem::path target, Durability durability)
    : target_(std::move(target)), durability_(durability) {
  std::string pattern = temporary_pattern(target_);
  fd_ = file_system().make_temporary(pattern);
  if (fd_ < 0) fail_to_make("cannot create a file beside", target_, errno);
  temporary_ = pattern;
  if (file_system().fchmod(fd_, ordinary_file_mode(), temporary_) != 0) {
    const int error = errno;
    discard();  // the destructor of an object whose constructor throws never runs
    fail("cannot set the permissions of the new", target_, error);
  }
}

StagedFile::~StagedFile() { discard(); }

void StagedFile::discard() {
  if (fd_ >= 0) file_system().close(fd_, temporary_);
  fd_ = -1;
  if (!handed_on_) file_system().unlink(temporary_);
  handed_on_ = true;
}

void StagedFile::append(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = file_system().write(fd_, bytes, temporary_);
    if (written < 0) {
      if (errno == EINTR) continue;
      fail("cannot write", target_, errno);
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
}

void StagedFile::write_at(uint64_t offset, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = file_system().pwrite(fd_, bytes, offset, temporary_);
    if (written < 0) {
      if (errno == EINTR) continue;
      fail("cannot write", target_, errno);
    }
    bytes.remove_prefix(static_cast<size_t>(written));
    offset += static_cast<uint64_t>(written);
  }
}

void StagedFile::sync_and_close() {
  if (durability_ == Durability::kOnDisk && file_system().fsync(fd_, temporary_) != 0) {
    fail("cannot flush to disk", target_, errno);
  }
  // close reports a write that failed late (a full disk on some file systems).
  const int closed = file_system().close(fd_, temporary_);
  fd_ = -1;
  if (closed != 0) fail("cannot write", target_, errno);
}

void StagedFile::rename_over_target() {
  if (file_system().rename(temporary_, target_) != 0) fail_in_directory("cannot replace", target_, errno);
  handed_on_ = true;
}

StagedFile& StagedFiles::stage(const std::filesystem::path& target) {
  return files_.emplace_back(target, durability_);
}

std::filesystem::path StagedFiles::directory() const {
  const std::filesystem::path dir = files_.front().target().parent_path();
  for (const StagedFile& file : files_) {
    if (file.target().parent_path() != dir) throw std::logic_error("a set of files is switched within one directory");
  }
  return dir;
}

// Once the record is on disk the switch is decided: the temporaries are the
// record's, and nothing removes them until they are renamed.
void StagedFiles::record_intent(const std::filesystem::path& dir, const DirectoryToSync& to_sync) {
  std::vector<Renaming> renamings;
  for (const StagedFile& file : files_) {
    renamings.push_back({file.temporary_.filename().string(), file.target().filename().string()});
  }
  StagedFile record(dir / kIntentName, Durability::kOnDisk);
  record.append(encode_intent(renamings));
  record.sync_and_close();
  record.rename_over_target();
  try {
    to_sync.sync();
  } catch (...) {
    // A record not known to be on disk decides nothing: the old set stays.
    file_system().unlink(dir / kIntentName);
    throw;
  }
  for (StagedFile& file : files_) file.handed_on_ = true;
}

void StagedFiles::rename_all(const std::optional<DirectoryToSync>& to_sync) {
  for (StagedFile& file : files_) file.rename_over_target();
  if (durability_ == Durability::kOnDisk) to_sync->sync();
}

void StagedFiles::publish() {
  if (files_.empty()) return;
  for (StagedFile& file : files_) file.sync_and_close();
  for (const StagedFile& file : files_) refuse_directory_in_the_way(file.target());
  const std::filesystem::path dir = directory();
  std::optional<DirectoryToSync> to_sync;  // opened before the first rename
  if (durability_ == Durability::kOnDisk || files_.size() > 1) to_sync.emplace(dir);
  if (files_.size() == 1) return rename_all(to_sync);  // one rename is all or nothing by itself
  record_intent(dir, *to_sync);
  try {
    rename_all(to_sync);
    remove_intent(dir);
  } catch (const std::exception& e) {
    const std::string where = dir.empty() ? "this directory" : dir.string();
    throw std::runtime_error(std::string(e.what()) + "; the new files are complete, and the next run in " + where +
                             " puts them in place");
  }
}

}  // namespace scenario
