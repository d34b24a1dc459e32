#include "io/file_error.h"

#include <sys/stat.h>

#include <cerrno>

namespace scenario {
namespace {

class FileCategory : public std::error_category {
 public:
  const char* name() const noexcept override { return "file"; }
  std::string message(int error) const override {
    if (error == ENOENT) return "does not exist";
    if (error == kNotRegularFile) return "not a regular file";
    if (error == kDirectoryGone) return "it was removed or renamed during the run";
    if (error == kNoNewFiles) return "its directory takes no new files";
    if (error == kSymbolicLink) return "it is a symbolic link, which a run never follows; remove it";
    return std::generic_category().message(error);
  }
  // An errno still compares equal to its std::errc.
  std::error_condition default_error_condition(int error) const noexcept override {
    if (error < 0) return {error, *this};
    return {error, std::generic_category()};
  }
};

}  // namespace

const std::error_category& file_category() {
  static const FileCategory category;
  return category;
}

namespace {

std::filesystem::path directory_of(const std::filesystem::path& path) {
  return path.parent_path().empty() ? std::filesystem::path(".") : path.parent_path();
}

bool directory_missing(const std::filesystem::path& path) {
  struct stat status {};
  return ::stat(directory_of(path).c_str(), &status) != 0 && errno == ENOENT;
}

}  // namespace

void fail_in_directory(const std::string& what, const std::filesystem::path& path, int error) {
  if (error == ENOENT && directory_missing(path)) {
    fail(what + " " + path.filename().string() + " in the directory", directory_of(path), kDirectoryGone);
  }
  fail(what, path, error);
}

void fail_to_make(const std::string& what, const std::filesystem::path& path, int error) {
  if (error == ENOENT && directory_missing(path)) {
    fail(what + " " + path.filename().string() + " in the directory", directory_of(path), ENOENT);
  }
  if (error == ENOENT) fail(what, path, kNoNewFiles);
  fail(what, path, error);
}

}  // namespace scenario
