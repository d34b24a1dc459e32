#include "io/intent_record.h"

#include <sys/stat.h>

#include <cerrno>
#include <stdexcept>
#include <system_error>

#include "io/file_error.h"
#include "io/file_system.h"
#include "io/read_file.h"
#include "io/directory_to_sync.h"
#include "io/temporaries.h"

namespace scenario {
namespace {

constexpr std::string_view kHeader = "scenario intent 1\n";
constexpr SizeCap kLargestRecord{1 << 20, "the largest intent record"};

// A plain name of a file in the directory itself.
bool plain_name(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos;
}

bool is_temporary_of(std::string_view temporary, std::string_view target) {
  return temporary_writer(temporary).has_value() && temporary.size() > target.size() + 1 &&
         temporary.substr(1, target.size()) == target &&
         temporary.substr(1 + target.size()).starts_with(".part-");
}

// The next NUL-ended name of the record, from at on.
std::string_view next_name(std::string_view bytes, size_t& at) {
  const size_t end = bytes.find('\0', at);
  if (end == std::string_view::npos) throw std::runtime_error("a name without its end");
  const std::string_view name = bytes.substr(at, end - at);
  at = end + 1;
  return name;
}

bool temporary_present(const std::filesystem::path& path) {
  struct stat status {};
  if (::lstat(path.c_str(), &status) == 0) return true;
  if (errno != ENOENT) fail("cannot look at", path, errno);
  return false;
}

void complete(const std::filesystem::path& dir, const std::vector<Renaming>& renamings) {
  FileSystem& files = file_system();
  const DirectoryToSync to_sync(dir);
  for (const Renaming& renaming : renamings) {
    const std::filesystem::path temporary = dir / renaming.temporary;
    if (!temporary_present(temporary)) continue;  // renamed before the stop
    if (files.rename(temporary, dir / renaming.target) != 0) {
      fail_in_directory("cannot replace", dir / renaming.target, errno);
    }
  }
  to_sync.sync();
  remove_intent(dir);
}

}  // namespace

std::string encode_intent(const std::vector<Renaming>& renamings) {
  std::string bytes(kHeader);
  for (const Renaming& renaming : renamings) {
    for (const std::string& name : {renaming.temporary, renaming.target}) {
      bytes += name;
      bytes += '\0';
    }
  }
  return bytes;
}

std::vector<Renaming> decode_intent(std::string_view bytes) {
  if (!bytes.starts_with(kHeader)) throw std::runtime_error("not an intent record of this program");
  std::vector<Renaming> renamings;
  for (size_t at = kHeader.size(); at < bytes.size();) {
    Renaming renaming;
    renaming.temporary = next_name(bytes, at);
    renaming.target = next_name(bytes, at);
    if (!plain_name(renaming.target) || !is_temporary_of(renaming.temporary, renaming.target)) {
      throw std::runtime_error("it names " + renaming.temporary + ", which is not a temporary of " + renaming.target);
    }
    renamings.push_back(std::move(renaming));
  }
  return renamings;
}

void remove_intent(const std::filesystem::path& dir) {
  const std::filesystem::path record = dir / kIntentName;
  if (file_system().unlink(record) != 0 && errno != ENOENT) fail("cannot remove", record, errno);
}

bool switch_pending(const std::filesystem::path& dir) { return !file_missing(dir / kIntentName); }

void complete_pending_switch(const std::filesystem::path& dir) {
  const std::filesystem::path record = dir / kIntentName;
  try {
    FileBytes bytes;
    try {
      bytes = read_file(record, kLargestRecord);
    } catch (const std::system_error& e) {
      if (e.code() == std::errc::no_such_file_or_directory) return;
      throw;
    }
    complete(dir, decode_intent(bytes));
  } catch (const std::exception& e) {
    throw std::runtime_error("cannot finish the switch of files recorded in " + record.string() + ": " + e.what());
  }
}

}  // namespace scenario
