#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "model/route_model.h"

namespace scenario {

// The line geometry file: every tagged value of the trace, all x values
// first, then all y values.

// Where a file's bytes go, chunk after chunk, each with its offset in the
// file: the chunks never overlap and together fill the file, but they need
// not come in file order.
using PlacedSink = std::function<void(uint64_t offset, std::string_view bytes)>;

// The most bytes handed to a sink at once: the geometry file of a long route
// runs to tens of megabytes, and only this much of it is ever held.
inline constexpr size_t kGeometryChunkBytes = 64 * 1024;

// The size in bytes of the file of the plan trace.
uint64_t line_geometry_size(const PlanTrace& trace);

// The file of the plan trace, its points computed as they are put: each
// point once, its x value put into the first half of the file and its y
// value into the second.
void write_line_geometry(const PlanTrace& trace, const PlacedSink& sink);

// The same file whole, in memory.
std::string encode_line_geometry(const PlanTrace& trace);

// The file of a trace whose points are all at hand.
std::string encode_line_geometry(const Trace& trace);

// Throws DecodeError, naming the byte offset, unless the file holds an even
// count of values with tags 0, 2 or 5 only and finite doubles.
Trace decode_line_geometry(std::string_view bytes);

}  // namespace scenario
