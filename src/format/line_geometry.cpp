#include "format/line_geometry.h"

#include <array>
#include <bit>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "format/coding.h"
#include "format/decode_error.h"
#include "format/scenario_format.h"
#include "model/trace_walk.h"

namespace scenario {
namespace {

std::string value_name(size_t index) { return "tagged value " + std::to_string(index); }

// The low N bytes of bits at `at`, low byte first (one store where the
// machine is little-endian).
template <size_t N>
void store_little_endian(char* at, uint64_t bits) {
  for (size_t i = 0; i < N; ++i) at[i] = static_cast<char>((bits >> (8 * i)) & 0xFFu);
}

[[gnu::noinline]] uint16_t int16_bits(double value) {
  return static_cast<uint16_t>(narrow<int16_t>(round_half_even(value)));
}

[[noreturn, gnu::noinline]] void unknown_tag(uint16_t tag) {
  throw std::logic_error("trace value with unknown tag " + std::to_string(tag));
}

// Tagged values that follow one another in a file from a given offset, put
// into a fixed buffer that goes to the sink whenever the next value might not
// fit, and once more at the end.
class ValueChunks {
 public:
  ValueChunks(const PlacedSink& sink, uint64_t offset) : sink_(sink), offset_(offset) {}
  ValueChunks(const ValueChunks&) = delete;
  ValueChunks& operator=(const ValueChunks&) = delete;

  // The tag, then the payload: none when empty, 2 bytes for an integer, 8 for
  // a double. Small enough to be inlined into the walk of the trace: all but
  // the commonest steps are calls.
  void put(const TraceValue& value) {
    if (fill_ + kLongestTraceValue > buffer_.size()) [[unlikely]] flush();
    char* at = buffer_.data() + fill_;
    store_little_endian<kTagBytes>(at, value.tag);
    switch (value.tag) {
      case TraceValue::kEmpty:
        fill_ += kTagBytes;
        return;
      case TraceValue::kInt16:
        store_little_endian<kInt16Bytes>(at + kTagBytes, int16_bits(value.value));
        fill_ += kTagBytes + kInt16Bytes;
        return;
      case TraceValue::kDouble:
        store_little_endian<kDoubleBytes>(at + kTagBytes, std::bit_cast<uint64_t>(double{value.value}));
        fill_ += kTagBytes + kDoubleBytes;
        return;
    }
    unknown_tag(value.tag);
  }

  [[gnu::noinline]] void flush() {
    if (fill_ != 0) sink_(offset_, std::string_view(buffer_.data(), fill_));
    offset_ += fill_;
    fill_ = 0;
  }

  // Where the next value goes in the file.
  uint64_t offset() const { return offset_ + fill_; }

 private:
  const PlacedSink& sink_;
  uint64_t offset_;
  std::array<char, kGeometryChunkBytes> buffer_;
  size_t fill_ = 0;
};

// The bytes of the x values, which are as many as those of the y values: the
// two components of a point have the same tag.
uint64_t half_size(const PlanTrace& trace) {
  const TraceValueCounts counts = value_counts(trace);
  return static_cast<uint64_t>(counts.seeds) * (kTagBytes + kInt16Bytes) +
         static_cast<uint64_t>(counts.computed) * (kTagBytes + kDoubleBytes) +
         static_cast<uint64_t>(counts.empty) * kTagBytes;
}

TraceValue get_trace_value(ByteCursor& in, size_t index) {
  const size_t start = in.offset();
  in.require(kTagBytes, [index] { return value_name(index); });
  const auto tag = get_fixed<uint16_t>(in);
  switch (tag) {
    case TraceValue::kEmpty: return TraceValue{};
    case TraceValue::kInt16:
      in.require(kInt16Bytes, [index] { return value_name(index) + " (a 16-bit integer)"; });
      return TraceValue{TraceValue::kInt16, static_cast<double>(get_fixed<int16_t>(in))};
    case TraceValue::kDouble: {
      in.require(kDoubleBytes, [index] { return value_name(index) + " (a double)"; });
      const auto value = get_fixed<double>(in);
      // The trace is computed from finite steps; a NaN or infinity would
      // come from a damaged file and would poison every measure of the plan.
      if (!std::isfinite(value)) {
        throw DecodeError(start + kTagBytes,
                          "impossible value: " + value_name(index) + " is a double that is not finite");
      }
      return TraceValue{TraceValue::kDouble, value};
    }
    default:
      throw DecodeError(start, "impossible value: " + value_name(index) + " has type " + std::to_string(tag) +
                                   " (types are 0 empty, 2 16-bit integer, 5 double)");
  }
}

// The bytes of the value at the front of `rest` when it is whole and sound,
// 0 when it is not: then get_trace_value says what is wrong.
size_t sound_value_bytes(std::string_view rest) {
  if (rest.size() < kTagBytes) return 0;
  switch (load_little_endian<kTagBytes>(rest.data())) {
    case TraceValue::kEmpty: return kTagBytes;
    case TraceValue::kInt16: return rest.size() < kTagBytes + kInt16Bytes ? 0 : kTagBytes + kInt16Bytes;
    case TraceValue::kDouble:
      if (rest.size() < kLongestTraceValue) return 0;
      return std::isfinite(std::bit_cast<double>(load_little_endian<kDoubleBytes>(rest.data() + kTagBytes)))
                 ? kLongestTraceValue
                 : 0;
    default: return 0;
  }
}

// Throws the DecodeError of the unsound value `index` at `offset`.
[[noreturn, gnu::noinline]] void refuse_value(std::string_view bytes, size_t offset, size_t index) {
  ByteCursor in(bytes);
  in.take(offset, "the values before");
  get_trace_value(in, index);
  throw std::logic_error("a tagged value judged unsound decoded without fault");
}

}  // namespace

uint64_t line_geometry_size(const PlanTrace& trace) { return 2 * half_size(trace); }

void write_line_geometry(const PlanTrace& trace, const PlacedSink& sink) {
  // All x values come first, then all y values: the trace is walked once,
  // since each point costs a chain of dependent steps, and the two halves
  // are put side by side.
  const uint64_t half = half_size(trace);
  ValueChunks xs(sink, 0);
  ValueChunks ys(sink, half);
  for_each_point(trace, [&](const TraceValue& x, const TraceValue& y) {
    xs.put(x);
    ys.put(y);
  });
  xs.flush();
  ys.flush();
  if (xs.offset() != half || ys.offset() != 2 * half) {
    throw std::logic_error("the plan trace's values do not fill the halves of its file as counted");
  }
}

std::string encode_line_geometry(const PlanTrace& trace) {
  std::string out(line_geometry_size(trace), '\0');
  write_line_geometry(trace,
                      [&out](uint64_t offset, std::string_view bytes) { out.replace(offset, bytes.size(), bytes); });
  return out;
}

std::string encode_line_geometry(const Trace& trace) {
  std::string out;
  out.reserve((trace.x.size() + trace.y.size()) * kLongestTraceValue);
  // The values of a stored trace are put in file order.
  const PlacedSink append = [&](uint64_t, std::string_view bytes) { out += bytes; };
  ValueChunks chunks(append, 0);
  for (const TraceValue& value : trace.x) chunks.put(value);
  for (const TraceValue& value : trace.y) chunks.put(value);
  chunks.flush();
  return out;
}

GeometryHalves check_line_geometry(std::string_view bytes) {
  // Every value is checked and counted first; the y half starts at the
  // middle value, found by a second walk of the x half.
  size_t count = 0;
  size_t last_start = 0;
  for (size_t offset = 0; offset < bytes.size(); ++count) {
    last_start = offset;
    // Two-byte empty values could pack five times the points of the longest
    // plan into a file of its size, and each takes more memory than bytes.
    if (count == kMostTraceValues) {
      throw DecodeError(last_start, "trailing values: the plan of the longest route has " +
                                        std::to_string(kMostTraceValues) + " values, and the file holds more");
    }
    const size_t length = sound_value_bytes(bytes.substr(offset));
    if (length == 0) [[unlikely]] refuse_value(bytes, offset, count);
    offset += length;
  }
  if (count == 0) throw DecodeError(0, "truncated: the file holds no tagged value");
  // x and y come in two halves of one length; an odd count leaves the last
  // value without its partner.
  if (count % 2 != 0) {
    throw DecodeError(last_start, "truncated or trailing value: the file holds an odd number (" +
                                      std::to_string(count) + ") of tagged values, so x and y cannot have one length");
  }
  TraceValueReader x_half(bytes);
  for (size_t i = 0; i < count / 2; ++i) x_half.next();
  return GeometryHalves{bytes.substr(0, x_half.offset()), bytes.substr(x_half.offset()), count / 2};
}

Trace decode_line_geometry(std::string_view bytes) {
  const GeometryHalves halves = check_line_geometry(bytes);
  Trace trace;
  trace.x.reserve(halves.points);
  trace.y.reserve(halves.points);
  TraceValueReader x(halves.x);
  TraceValueReader y(halves.y);
  for (size_t m = 0; m < halves.points; ++m) {
    trace.x.push_back(x.next());
    trace.y.push_back(y.next());
  }
  return trace;
}

}  // namespace scenario
