#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "format/line_geometry.h"
#include "model/route_model.h"

namespace scenario {

// The differences between two decoded files of one kind, one line each, in
// the terms of the sources (metres, km/h, station names, times of day) and
// in UTF-8; no line when they are the same. Stored offsets and raw fields
// that a decoded one stands for are left out, so that one real change is
// one line.

// "cell 211 at 10500 m: signal → nothing"; a stretch of cells whose track
// value changed alike is one line: "cells 26 to 207 (1300 to 10400 m): speed
// limit 140 → 120 km/h".
std::vector<std::string> diff_cell_grids(const Cells& a, const Cells& b);

// "row 3 station PIEVE SALINA: time 11:09:00 → 11:10:00"
std::vector<std::string> diff_entry_tables(const std::array<Entry, kEntryCount>& a,
                                           const std::array<Entry, kEntryCount>& b);

// How many points differ and the first of them, read from the files' bytes;
// traces at hand are compared as their files.
std::vector<std::string> diff_line_geometries(const GeometryHalves& a, const GeometryHalves& b);
std::vector<std::string> diff_line_geometries(const Trace& a, const Trace& b);

// Reads both files and compares them. Throws ScenarioFileError when either
// cannot be read or decoded, or when their names tell different kinds.
std::vector<std::string> diff_scenario_files(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace scenario
