#include "reader/signals.h"

#include <string>

#include "model/numeric.h"
#include "reader/error_site.h"
#include "reader/refuse.h"

namespace scenario {
namespace {

constexpr int kApproachCells = 4;
constexpr int64_t kApproachSpacing = 2;  // approach cells lie 100 m apart
constexpr int32_t kGroupBase = 10;       // a group code or value takes one decimal digit
constexpr int32_t kSxWeight = 3;         // sx and dx share a digit as sx * 3 + dx
constexpr int32_t kSxWithTimer = 2;
constexpr int32_t kShortestTime = 1;  // times 1 to 100 are raised to 101
constexpr int32_t kLongestRaisedTime = 100;
constexpr int32_t kRaisedTime = 101;

int32_t raised_tempo(int32_t tempo) {
  return tempo >= kShortestTime && tempo <= kLongestRaisedTime ? kRaisedTime : tempo;
}

int64_t code_digit(const SignalRecord& record) {
  return static_cast<int64_t>(record.sx) * kSxWeight + record.dx;
}

int16_t packed(int32_t high, int64_t low) { return low16(static_cast<int64_t>(high) * kGroupBase + low); }

}  // namespace

int64_t signal_cell(int64_t position) {
  return round_half_even(static_cast<double>(position) / kCellLength + 1);
}

void memo_segnale(RouteModel& model, const SignalRecord& record) {
  const int64_t i = signal_cell(record.posizione);
  Cell& cell = cell_at(model, i);
  if (!is_free(cell)) {
    refuse(model, kSignalCellTaken,
           "signal at " + std::to_string(record.posizione) + " m: " + cell_taken(i, cell));
    return;
  }
  cell.kind = kSignal;
  cell.p4 = packed(record.rapp, code_digit(record));
  cell.p1 = packed(record.s1, record.d1);
  cell.p2 = packed(record.s2, record.d2);
  cell.p3 = packed(record.s3, record.d3);
  cell.timer = record.sx == kSxWithTimer ? low8(raised_tempo(record.tempo)) : 0;
  // A signal near the origin has fewer approach cells than four: the grid
  // begins at cell 0 and the missing ones are skipped.
  for (int b = 1; b <= kApproachCells; ++b) {
    const int64_t approach_cell = i - kApproachSpacing * b;
    if (approach_cell < 0) break;
    cell_at(model, approach_cell).approach = low8(code_digit(record) * kGroupBase + b);
  }
}

}  // namespace scenario
