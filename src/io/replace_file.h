#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

namespace scenario {

// Writes bytes as the whole new content of path. The bytes go to a temporary
// file in the same directory, which is then renamed over the old file: nothing
// of an older, longer file survives, and a failed write leaves the old file
// whole and no temporary behind. Throws std::system_error on failure.
void replace_file(const std::filesystem::path& path, std::string_view bytes);

// The same with the content streamed: fill hands it, chunk after chunk in
// file order, to the sink it is given, which writes each to the temporary
// file at once.
void replace_file(const std::filesystem::path& path,
                  const std::function<void(const std::function<void(std::string_view)>&)>& fill);

}  // namespace scenario
