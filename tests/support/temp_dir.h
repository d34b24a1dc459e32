#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <system_error>

#include "io/read_file.h"

namespace scenario::testing {

// A fresh directory in parent (the temporary directory unless named) that is
// removed with everything in it at the end.
class TempDir {
 public:
  explicit TempDir(const std::filesystem::path& parent = std::filesystem::temp_directory_path()) {
    std::string pattern = (parent / "scenario-test-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// The bytes of a file; an empty optional when it cannot be read.
inline std::optional<std::string> bytes_of(const std::filesystem::path& path) {
  try {
    return read_file(path, {.bytes = UINTMAX_MAX, .of = "a test's file"}).str();
  } catch (const std::system_error&) {
    return std::nullopt;
  }
}

// The names of the files in a directory.
inline std::set<std::string> names_in(const std::filesystem::path& dir) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) names.insert(entry.path().filename().string());
  return names;
}

}  // namespace scenario::testing
