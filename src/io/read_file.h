#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace scenario {

// The most bytes a file may have to be read, and what it is, for the message
// ("the largest line geometry file").
struct SizeCap {
  std::uintmax_t bytes;
  std::string_view of;
};

// The whole content of a regular file no larger than its cap. A FIFO, a
// device or a directory is refused at once, without waiting for a writer or
// reading without end. Throws std::system_error naming the file and the
// reason (io/file_error.h).
std::string read_file(const std::filesystem::path& path, SizeCap cap);

// Whether nothing at all is found at path: the one case a reader calls "does
// not exist". A path that cannot be looked at (a loop of links, no
// permission) is not missing; reading it gives the reason.
bool file_missing(const std::filesystem::path& path);

}  // namespace scenario
