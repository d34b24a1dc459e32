#include "reader/fill_value.h"

#include <string>

#include "model/run_failure.h"

namespace scenario {

uint8_t encode_fill(uint8_t (*encode)(int32_t), int32_t value, FieldSite written, const FillRange& range) {
  try {
    return encode(value);
  } catch (const RunFailure&) {
    const std::string unit = range.unit.empty() ? "" : " " + std::string(range.unit);
    throw RunFailure(std::string(range.what) + " " + std::to_string(value) + unit +
                                     " does not fit a cell: it may run from " + std::to_string(range.lowest) +
                         " to " + std::to_string(range.highest) + unit,
                     written);
  }
}

}  // namespace scenario
