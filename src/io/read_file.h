#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace scenario {

// The whole content of a file, or nothing when it cannot be opened or read.
std::optional<std::string> read_file(const std::filesystem::path& path);

}  // namespace scenario
