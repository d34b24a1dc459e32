#pragma once

#include <string>
#include <string_view>

#include "model/route_model.h"

namespace scenario {

// The line geometry file: every tagged value of the trace, all x values
// first, then all y values.

std::string encode_line_geometry(const Trace& trace);

// Throws DecodeError, naming the byte offset, unless the file holds an even
// count of values with tags 0, 2 or 5 only and finite doubles.
Trace decode_line_geometry(std::string_view bytes);

}  // namespace scenario
