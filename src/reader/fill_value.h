#pragma once

#include <cstdint>
#include <limits>
#include <string_view>

#include "reader/field_reader.h"

namespace scenario {

// A cell holds a fill as one byte.
inline constexpr int64_t kLargestCellValue = std::numeric_limits<uint8_t>::max();

// What a fill value is and the values a cell can hold, in the author's unit.
struct FillRange {
  std::string_view what;  // "speed limit"
  std::string_view unit;  // "km/h"
  int64_t lowest = 0;
  int64_t highest = 0;
};

// The cell value of a fill (speed limit, adhesion, gradient). A value is
// encoded only when its cells are written, when the next record of its kind
// arrives or the source ends; one that does not fit is a run-time failure
// blamed on the record that holds it, at written, its value field.
uint8_t encode_fill(uint8_t (*encode)(int32_t), int32_t value, FieldSite written, const FillRange& range);

}  // namespace scenario
