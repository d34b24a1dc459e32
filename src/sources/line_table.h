#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "io/staged_files.h"

namespace scenario {

// A line table: up to 1001 literal lines, the last slot in use holding the end
// marker. Lines are Windows-1252 bytes without their line end.
inline constexpr std::string_view kEndMarker = "riferimento fine del file";
inline constexpr size_t kLineTableSlots = 1001;
using LineTable = std::span<const std::string_view>;

// The bytes of a table as a text file: every line up to the end marker,
// spaces kept exactly, each followed by CR LF (the last one too); the marker
// itself is never written. A table without its marker within the 1001 slots
// is a programming error and throws std::logic_error.
std::string table_text(LineTable table);

// Writes a table as the whole new content of path (see replace_file).
void write_table(const std::filesystem::path& path, LineTable table, Durability durability = Durability::kOnDisk);

}  // namespace scenario
