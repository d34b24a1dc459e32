#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/route_model.h"

namespace scenario {

// The cell grid file: the cells from 0 on, 15 bytes each.

std::string encode_cell_grid(const Cells& cells);

// Throws DecodeError, naming the byte offset, unless the file holds whole
// cells, at least cells 0 and 1 (cell 1 holds the marks), each of a known
// kind.
Cells decode_cell_grid(std::string_view bytes);

}  // namespace scenario
