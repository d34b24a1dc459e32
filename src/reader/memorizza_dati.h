#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "io/read_file.h"
#include "model/run_files.h"
#include "reader/read_sources.h"

namespace scenario {

// Whether the reader deletes the sources it read. The package deletes its own
// transient sources; a route author's sources are never deleted.
enum class SourcePolicy { kDelete, kKeep };

// Reads the two source files of a run into a scenario.
// It reads the line source, then the train source, of files through
// read_sources (options names the files itself), and deletes them as the
// package does with its own: the line source once read, the train source
// once the reading came to it, both after a failure of the reading (25). A
// source that cannot be deleted is error 25.
ReadResult memorizza_dati(const RunFiles& files, ReadOptions options, SourcePolicy policy);

// A source file as the reading will find it: its text, kept in storage, or
// why it could not be read. Only a missing line source has a number of its
// own (101); any other trouble is a failure of the reading (25) when its
// turn comes.
SourceText load_source(const std::filesystem::path& path, FileBytes& storage, bool line_source);

// A source longer than this is refused before it is read: a route of the
// longest length with a record on every cell stays well below it.
inline constexpr std::uintmax_t kLargestSource = 8 * 1024 * 1024;

}  // namespace scenario
