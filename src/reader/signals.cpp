#include "reader/signals.h"

#include <string>

#include "format/scenario_format.h"
#include "model/numeric.h"
#include "reader/reader_context.h"
#include "reader/refuse.h"

namespace scenario {
namespace {

constexpr int kApproachCells = 4;
constexpr int64_t kApproachSpacing = 2;  // approach cells lie 100 m apart
constexpr int32_t kSxWithTimer = 2;
constexpr int32_t kShortestTime = 1;  // times 1 to 100 are raised to 101
constexpr int32_t kLongestRaisedTime = 100;
constexpr int32_t kRaisedTime = 101;

int32_t raised_tempo(int32_t tempo) {
  return tempo >= kShortestTime && tempo <= kLongestRaisedTime ? kRaisedTime : tempo;
}

int64_t code_digit(const SignalRecord& record) { return signal_code(record.sx, record.dx); }

}  // namespace

bool keeps_tempo(int32_t sx) { return sx == kSxWithTimer; }

uint8_t signal_timer(int32_t sx, int32_t tempo) { return keeps_tempo(sx) ? low8(raised_tempo(tempo)) : 0; }

int64_t signal_cell(int64_t position) {
  return round_half_even(static_cast<double>(position) / kCellLength + 1);
}

Verdict memo_segnale(RouteModel& model, const SignalRecord& record) {
  const int64_t i = signal_cell(record.posizione);
  Cell& cell = cell_at(model, i);
  if (!is_free(cell)) {
    return refuse_taken(kSignalCellTaken, "signal at " + std::to_string(record.posizione) + " m: " + cell_taken(i, cell),
                        i);
  }
  cell.kind = kSignal;
  cell.p4 = encode_signal_pair(record.rapp, code_digit(record));
  cell.p1 = encode_signal_pair(record.s1, record.d1);
  cell.p2 = encode_signal_pair(record.s2, record.d2);
  cell.p3 = encode_signal_pair(record.s3, record.d3);
  cell.timer = signal_timer(record.sx, record.tempo);
  // A signal near the origin has fewer approach cells than four: the grid
  // begins at cell 0 and the missing ones are skipped.
  for (int b = 1; b <= kApproachCells; ++b) {
    const int64_t approach_cell = i - kApproachSpacing * b;
    if (approach_cell < 0) break;
    cell_at(model, approach_cell).approach = low8(code_digit(record) * kSignalDigit + b);
  }
  return {};
}

}  // namespace scenario
