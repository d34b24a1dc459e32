#pragma once

#include <filesystem>
#include <string_view>

namespace scenario {

// Writes bytes as the whole new content of path: a set of one staged file
// (io/staged_files.h). Nothing of an older, longer file survives, a failed
// write leaves the old file whole and no temporary behind, and the new file is
// on disk when this returns. Throws std::system_error on failure.
void replace_file(const std::filesystem::path& path, std::string_view bytes);

}  // namespace scenario
