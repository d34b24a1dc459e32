#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

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

// The bytes of a file; an empty optional when it does not exist.
inline std::optional<std::string> bytes_of(const std::filesystem::path& path) { return read_file(path); }

}  // namespace scenario::testing
