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
// Reasons a new name could not be made in a directory where the system says
// only ENOENT: the directory went away during the run, or its file system
// makes no files (/proc).
inline constexpr int kDirectoryGone = -2;
inline constexpr int kNoNewFiles = -3;
// The run's lock file is a symbolic link, which the lock never follows.
inline constexpr int kSymbolicLink = -4;
const std::error_category& file_category();

// A failed file operation: what was tried on which path, and the reason
// (an errno or kNotRegularFile): "cannot read S_linea.txt: does not exist".
[[noreturn]] inline void fail(const std::string& what, const std::filesystem::path& path, int error) {
  throw std::system_error(error, file_category(), what + " " + path.string());
}

// A name could not be put at path. ENOENT there is no missing file when the
// directory itself is gone, and the message names the directory: "cannot
// replace S_1.dat in the directory out: it was removed or renamed during
// the run".
[[noreturn]] void fail_in_directory(const std::string& what, const std::filesystem::path& path, int error);

// A new file could not be made at path: ENOENT names the directory when that
// does not exist, and otherwise means that it makes no files (/proc).
[[noreturn]] void fail_to_make(const std::string& what, const std::filesystem::path& path, int error);

}  // namespace scenario
