#include "io/file_error.h"

#include <cerrno>

namespace scenario {
namespace {

class FileCategory : public std::error_category {
 public:
  const char* name() const noexcept override { return "file"; }
  std::string message(int error) const override {
    if (error == ENOENT) return "does not exist";
    if (error == kNotRegularFile) return "not a regular file";
    return std::generic_category().message(error);
  }
  // An errno still compares equal to its std::errc.
  std::error_condition default_error_condition(int error) const noexcept override {
    if (error == kNotRegularFile) return {error, *this};
    return {error, std::generic_category()};
  }
};

}  // namespace

const std::error_category& file_category() {
  static const FileCategory category;
  return category;
}

}  // namespace scenario
