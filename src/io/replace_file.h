#pragma once

#include <filesystem>
#include <string_view>

#include "io/staged_files.h"

namespace scenario {

// Writes bytes as the whole new content of path: a set of one staged file
// (io/staged_files.h). Nothing of an older, longer file survives, a failed
// write leaves the old file whole and no temporary behind, and, unless the
// file is transient, the new file is on disk when this returns. Throws
// std::system_error on failure.
void replace_file(const std::filesystem::path& path, std::string_view bytes,
                  Durability durability = Durability::kOnDisk);

}  // namespace scenario
