#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "model/route_model.h"

namespace scenario {

// The line geometry file: every tagged value of the trace, all x values
// first, then all y values.

// Where a file's bytes go, chunk after chunk, in file order.
using ByteSink = std::function<void(std::string_view)>;

// The most bytes handed to a sink at once: the geometry file of a long route
// runs to tens of megabytes, and only this much of it is ever held.
inline constexpr size_t kGeometryChunkBytes = 64 * 1024;

// The file of the plan trace, its points computed as they are put.
void write_line_geometry(const PlanTrace& trace, const ByteSink& sink);

// The file of a trace whose points are all at hand.
std::string encode_line_geometry(const Trace& trace);

// Throws DecodeError, naming the byte offset, unless the file holds an even
// count of values with tags 0, 2 or 5 only and finite doubles.
Trace decode_line_geometry(std::string_view bytes);

}  // namespace scenario
