#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "model/route_model.h"

namespace scenario {

// Decoders of the three binary scenario files into the model's own types, so
// that encoding what they return gives back the bytes they read. Each throws
// DecodeError, naming the byte offset, for a file that is truncated, has
// trailing bytes or holds an impossible value.

// Tagged values, all x then all y: an even count, tags 0, 2 or 5 only, and
// finite doubles.
Trace decode_line_geometry(std::string_view bytes);

// Exactly 87 rows of 34 bytes plus their text; a text length is a signed
// 16-bit number and never negative.
std::array<Entry, kEntryCount> decode_entry_table(std::string_view bytes);

// 15 bytes per cell, at least cells 0 and 1 (cell 1 holds the marks), each
// of a known kind.
std::vector<Cell> decode_cell_grid(std::string_view bytes);

}  // namespace scenario
