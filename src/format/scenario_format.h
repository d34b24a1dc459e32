#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

#include "model/numeric.h"
#include "model/route_model.h"

namespace scenario {

// The three binary scenario files, shared by the writer, the decoder, the
// readers that store values and the drawing that reads them back: where each
// field lies and how a value is stored in it. docs/formats.md tells the same
// for people who write readers of their own.

// ---- Sizes and offsets ----------------------------------------------------

// A tagged value of the line geometry: a 2-byte tag, then no payload (empty),
// a 16-bit integer or a double.
inline constexpr size_t kTagBytes = 2;
inline constexpr size_t kInt16Bytes = 2;
inline constexpr size_t kDoubleBytes = 8;
inline constexpr size_t kLongestTraceValue = kTagBytes + kDoubleBytes;

// An entry row: kind, long1 to long3, flag and the text length take 16 bytes,
// then the text, then short1 to short5, byte1 to byte4 and long4 take 18.
inline constexpr size_t kEntryHeadBytes = 16;
inline constexpr size_t kEntryTailBytes = 18;
inline constexpr size_t kEntryFixedBytes = kEntryHeadBytes + kEntryTailBytes;
inline size_t entry_bytes(const Entry& entry) { return kEntryFixedBytes + entry.text.size(); }

// A text's length is stored as a signed 16-bit number.
inline constexpr size_t kLongestText = std::numeric_limits<int16_t>::max();

// Cell i lies at byte 15 x i. Cell 1 carries the reserved marks, so a grid
// has at least two cells.
inline constexpr size_t kCellBytes = 15;
inline constexpr size_t kFewestCells = kReservedCell + 1;

// The largest files a route of the longest length can give, every trace
// value a double and every entry text of the longest length: a reader takes
// nothing larger.
inline constexpr size_t kLongestExtendedLength = static_cast<size_t>(kMaxRouteLength) + static_cast<size_t>(kRunOut);
inline constexpr size_t kLongestTracePoints = kLongestExtendedLength + 1;
inline constexpr size_t kMostTraceValues = 2 * kLongestTracePoints;
inline constexpr size_t kLargestLineGeometry = kMostTraceValues * kLongestTraceValue;
inline constexpr size_t kLargestEntryTable = static_cast<size_t>(kEntryCount) * (kEntryFixedBytes + kLongestText);
inline constexpr size_t kMostCells = kLongestExtendedLength / static_cast<size_t>(kCellLength) + 2;  // 0 to last_cell, rounded up
inline constexpr size_t kLargestCellGrid = kMostCells * kCellBytes;

// ---- Values: each encode beside its decode --------------------------------

// A cell's gradient: per mille plus 100 in an unsigned byte (97 is -3 per
// mille). A gradient that does not fit is a run-time failure.
inline constexpr int32_t kGradientBias = 100;
inline uint8_t encode_gradient(int64_t per_mille) { return narrow<uint8_t>(per_mille + kGradientBias); }
inline int decode_gradient(uint8_t stored) { return stored - kGradientBias; }

// A cell's speed limit counts steps of 5 km/h (28 is 140 km/h); a speed
// between steps goes to the nearer one, halves to the even.
inline constexpr int32_t kSpeedStep = 5;
inline uint8_t encode_speed_limit(int32_t kmh) { return narrow<uint8_t>(round_half_even(kmh / double{kSpeedStep})); }
inline int decode_speed_limit(uint8_t stored) { return stored * kSpeedStep; }

// A maximum-speed board packs the s side and the d side of a group into one
// parameter: the s steps in the hundreds, the d steps below (2822 is 140 and
// 110 km/h). Its p4 packs the stripe counts as s x 10 + d.
struct BoardSides {
  int s = 0;
  int d = 0;
};
inline constexpr int32_t kBoardSpeedPacking = 100;
inline constexpr int32_t kBoardStripePacking = 10;

// One rounding, of the whole 20 x s + d / 5: an s speed off the 5 km/h steps
// shifts the code instead of being rounded on its own.
inline int16_t encode_board_speeds(int32_t s, int32_t d) {
  return narrow<int16_t>(round_half_even(s * (double{kBoardSpeedPacking} / kSpeedStep) + d / double{kSpeedStep}));
}
inline BoardSides decode_board_speeds(int16_t stored) {
  return {stored / kBoardSpeedPacking * kSpeedStep, stored % kBoardSpeedPacking * kSpeedStep};
}

// The stripe counts are taken as 16-bit values; a sum beyond 16 bits is an
// overflow, not a wrap.
inline int16_t encode_board_stripes(int32_t s, int32_t d) {
  return narrow<int16_t>(low16(s) * kBoardStripePacking + low16(d));
}
inline BoardSides decode_board_stripes(int16_t stored) {
  return {stored / kBoardStripePacking, stored % kBoardStripePacking};
}

// Where an object stands: signals, boards and slowdown cells given at p m
// take cell p / 50 + 1, so cell i is where such a record at 50 x (i - 1) m
// lands. The cell's own 50 m of track (its speed limit, gradient and tunnel,
// which records at p start in cell p / 50) begins 50 m further, at 50 x i;
// a speed reduction point at p m takes cell p / 50 too.
inline int64_t object_position(int64_t cell) { return (cell - 1) * int64_t{kCellLength}; }
inline int64_t track_position(int64_t cell) { return cell * int64_t{kCellLength}; }
inline int64_t recorded_position(int64_t cell, uint8_t kind) {
  const bool on_track = kind == kReductionValue || kind == kReductionPlain;
  return on_track ? track_position(cell) : object_position(cell);
}

// A signal packs its record one decimal digit per value: p1 to p3 are
// s1 d1, s2 d2, s3 d3 and p4 is rapp, then sx x 3 + dx (the approach codes
// reuse that digit). Only the low 16 bits are kept, a wanted wrap.
inline constexpr int32_t kSignalDigit = 10;
inline constexpr int32_t kSxWeight = 3;
inline int64_t signal_code(int32_t sx, int32_t dx) { return int64_t{sx} * kSxWeight + dx; }
inline int16_t encode_signal_pair(int32_t high, int64_t low) { return low16(int64_t{high} * kSignalDigit + low); }
struct SignalPair {
  int high = 0;
  int low = 0;
};
inline SignalPair decode_signal_pair(int16_t stored) { return {stored / kSignalDigit, stored % kSignalDigit}; }
inline SignalPair decode_signal_code(int code) { return {code / kSxWeight, code % kSxWeight}; }

// A station's scheduled time is stored as seconds after midnight.
inline constexpr int64_t kSecondsPerHour = 3600;
inline constexpr int64_t kSecondsPerMinute = 60;
inline int32_t encode_time_of_day(int64_t hour, int64_t minute, int64_t second) {
  return narrow<int32_t>(hour * kSecondsPerHour + minute * kSecondsPerMinute + second);
}
struct TimeOfDay {
  int64_t hour = 0;
  int64_t minute = 0;
  int64_t second = 0;
};
inline TimeOfDay decode_time_of_day(int32_t stored) {
  const int64_t seconds = stored;
  return {seconds / kSecondsPerHour, seconds % kSecondsPerHour / kSecondsPerMinute, seconds % kSecondsPerMinute};
}

// A kilometric progressive system in rows 81 to 83: start in long1, offset in
// long2, direction in long3.
struct ProgressiveSystem {
  int32_t start = 0;
  int32_t offset = 0;
  int32_t direction = 0;
};
inline ProgressiveSystem get_progressive_system(const Entry& row) { return {row.long1, row.long2, row.long3}; }
inline void put_progressive_system(Entry& row, const ProgressiveSystem& system) {
  row.long1 = system.start;
  row.long2 = system.offset;
  row.long3 = system.direction;
}

// Growing numbering reads p + offset, falling numbering offset - p. A falling
// system's offset is stored 100 higher; other directions carry no numbering
// and store their offset as it is.
inline constexpr int32_t kGrowingNumbering = 0;
inline constexpr int32_t kFallingNumbering = 1;
inline constexpr int32_t kFallingOffsetShift = 100;
inline int32_t encode_numbering_offset(int32_t direction, int32_t offset) {
  return direction == kFallingNumbering ? narrow<int32_t>(int64_t{offset} + kFallingOffsetShift) : offset;
}
inline int64_t decode_numbering_offset(int32_t direction, int32_t stored) {
  return direction == kFallingNumbering ? int64_t{stored} - kFallingOffsetShift : int64_t{stored};
}

}  // namespace scenario
