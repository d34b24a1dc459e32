#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace scenario {

// The reasons of failed file operations, as people read them: "does not
// exist" when there is no such file, and only then; otherwise the system's
// own words ("Permission denied", "Too many levels of symbolic links", "File
// name too long", "Is a directory"), and "not a regular file" for a FIFO, a
// device or a directory where a file's bytes are wanted.
inline constexpr int kNotRegularFile = -1;
const std::error_category& file_category();

// A failed file operation: what was tried on which path, and the reason
// (an errno or kNotRegularFile): "cannot read S_linea.txt: does not exist".
[[noreturn]] inline void fail(const std::string& what, const std::filesystem::path& path, int error) {
  throw std::system_error(error, file_category(), what + " " + path.string());
}

}  // namespace scenario
