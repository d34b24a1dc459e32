#include "format/line_geometry.h"

#include <cmath>
#include <stdexcept>
#include <vector>

#include "format/coding.h"
#include "format/decode_error.h"
#include "format/scenario_format.h"

namespace scenario {
namespace {

std::string value_name(size_t index) { return "tagged value " + std::to_string(index); }

// The tag, then the payload: none when empty, 2 bytes for an integer, 8 for a double.
void put_trace_value(std::string& out, const TraceValue& value) {
  put_fixed<uint16_t>(out, value.tag);
  switch (value.tag) {
    case TraceValue::kEmpty:
      return;
    case TraceValue::kInt16:
      put_fixed(out, narrow<int16_t>(round_half_even(value.value)));
      return;
    case TraceValue::kDouble:
      put_fixed(out, value.value);
      return;
  }
  throw std::logic_error("trace value with unknown tag " + std::to_string(value.tag));
}

TraceValue get_trace_value(ByteCursor& in, size_t index) {
  const size_t start = in.offset();
  in.require(kTagBytes, value_name(index));
  const auto tag = get_fixed<uint16_t>(in);
  switch (tag) {
    case TraceValue::kEmpty: return TraceValue{};
    case TraceValue::kInt16:
      in.require(kInt16Bytes, value_name(index) + " (a 16-bit integer)");
      return TraceValue{TraceValue::kInt16, static_cast<double>(get_fixed<int16_t>(in))};
    case TraceValue::kDouble: {
      in.require(kDoubleBytes, value_name(index) + " (a double)");
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

}  // namespace

std::string encode_line_geometry(const Trace& trace) {
  std::string out;
  out.reserve((trace.x.size() + trace.y.size()) * kLongestTraceValue);
  for (const TraceValue& value : trace.x) put_trace_value(out, value);
  for (const TraceValue& value : trace.y) put_trace_value(out, value);
  return out;
}

Trace decode_line_geometry(std::string_view bytes) {
  ByteCursor in(bytes);
  std::vector<TraceValue> values;
  size_t last_start = 0;
  while (!in.at_end()) {
    last_start = in.offset();
    values.push_back(get_trace_value(in, values.size()));
  }
  if (values.empty()) throw DecodeError(0, "truncated: the file holds no tagged value");
  // x and y come in two halves of one length; an odd count leaves the last
  // value without its partner.
  if (values.size() % 2 != 0) {
    throw DecodeError(last_start, "truncated or trailing value: the file holds an odd number (" +
                                      std::to_string(values.size()) +
                                      ") of tagged values, so x and y cannot have one length");
  }
  const auto half = static_cast<std::ptrdiff_t>(values.size() / 2);
  return Trace{.x = {values.begin(), values.begin() + half}, .y = {values.begin() + half, values.end()}};
}

}  // namespace scenario
