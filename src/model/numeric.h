#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "model/run_failure.h"

namespace scenario {

// Every fractional value becomes an integer by rounding to nearest with halves
// going to the even neighbour (2475 / 50 + 1 = 50.5 gives 50). nearbyint obeys
// the current rounding mode, which the program never changes from its default.
inline int64_t round_half_even(double value) {
  const double rounded = std::nearbyint(value);
  if (!(rounded >= -9.2e18 && rounded <= 9.2e18)) {
    throw RunFailure("value out of range: " + std::to_string(value));
  }
  return static_cast<int64_t>(rounded);
}

// The failure of narrow, kept out of line so that narrow itself is a compare.
[[noreturn]] void value_does_not_fit(int64_t value);

// Values are computed in 64 bits and narrowed here: one that does not fit its
// field is a run-time failure, never a silent wrap.
template <typename T>
T narrow(int64_t value) {
  if (value < static_cast<int64_t>(std::numeric_limits<T>::min()) ||
      value > static_cast<int64_t>(std::numeric_limits<T>::max())) [[unlikely]] {
    value_does_not_fit(value);
  }
  return static_cast<T>(value);
}

// Where a field keeps only the low bits of its value (signal and slowdown
// packing), the wrap is wanted and spelled out.
inline int16_t low16(int64_t value) {
  return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(value) & 0xFFFFu));
}

inline uint8_t low8(int64_t value) {
  return static_cast<uint8_t>(static_cast<uint64_t>(value) & 0xFFu);
}

}  // namespace scenario
