#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "format/coding.h"
#include "format/scenario_format.h"
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

// A line geometry file whose values have all been checked: its x half and
// its y half, each a run of tagged values to be read where they lie.
struct GeometryHalves {
  std::string_view x;
  std::string_view y;
  size_t points = 0;  // values in each half
};

// Throws DecodeError, naming the byte offset, unless the file holds an even
// count of values with tags 0, 2 or 5 only and finite doubles. Holds no
// value: a long plan is read from its bytes, never copied out whole.
GeometryHalves check_line_geometry(std::string_view bytes);

// The values of a checked half, first to last, one per call of next().
class TraceValueReader {
 public:
  explicit TraceValueReader(std::string_view checked) : begin_(checked.data()), at_(begin_) {}

  // How far into the run the next value lies.
  size_t offset() const { return static_cast<size_t>(at_ - begin_); }

  TraceValue next() {
    const auto tag = static_cast<uint16_t>(load_little_endian<kTagBytes>(at_));
    at_ += kTagBytes;
    if (tag == TraceValue::kDouble) {
      const double value = std::bit_cast<double>(load_little_endian<kDoubleBytes>(at_));
      at_ += kDoubleBytes;
      return TraceValue{TraceValue::kDouble, value};
    }
    if (tag == TraceValue::kInt16) {
      const auto value = static_cast<int16_t>(static_cast<uint16_t>(load_little_endian<kInt16Bytes>(at_)));
      at_ += kInt16Bytes;
      return TraceValue{TraceValue::kInt16, static_cast<double>(value)};
    }
    return TraceValue{};
  }

 private:
  const char* begin_;
  const char* at_;
};

// The values of the file as a trace: check_line_geometry, then every value
// copied out.
Trace decode_line_geometry(std::string_view bytes);

}  // namespace scenario
