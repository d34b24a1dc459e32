#pragma once

#include <filesystem>

namespace scenario {

// Puts a directory's entries on disk: a rename or a new name is durable once
// its directory is, and without this a crash soon after can bring the old
// names back. Throws std::system_error naming the directory.
void sync_directory(const std::filesystem::path& dir);

}  // namespace scenario
