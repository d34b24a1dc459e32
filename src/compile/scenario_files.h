#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/route_model.h"
#include "model/run_files.h"

namespace scenario {

// The three binary files the simulator loads, built byte by byte: little-endian,
// field after field, no padding, no header or count.

// Longest text a record can carry: its length is stored as a signed 16-bit
// number. A longer text is refused with std::length_error, never cut short.
inline constexpr size_t kLongestText = 32767;

// Every tagged value of the trace, all x values first, then all y values.
std::string encode_line_geometry(const Trace& trace);

// The 87 rows, row 0 first; a row is 34 bytes plus the length of its text.
std::string encode_entry_table(const std::array<Entry, kEntryCount>& entries);

// The cells from 0 on, 15 bytes each.
std::string encode_cell_grid(const std::vector<Cell>& cells);

// Writes the line geometry file (only when write_trace is non-zero), the entry
// table file and the cell grid file, in that order, each replacing any older
// file whole. All three are encoded before the first is written, so a model
// that cannot be encoded leaves every file of an earlier run as it was.
void write_scenario_files(const RouteModel& model, const RunFiles& files);

}  // namespace scenario
