#pragma once

#include <filesystem>
#include <string_view>

namespace scenario {

// Writes bytes as the whole new content of path. The bytes go to a temporary
// file in the same directory, which is then renamed over the old file: nothing
// of an older, longer file survives, and a failed write leaves the old file
// whole and no temporary behind. Throws std::system_error on failure.
void replace_file(const std::filesystem::path& path, std::string_view bytes);

}  // namespace scenario
