#pragma once

#include <cstdint>

#include "model/route_model.h"
#include "reader/refuse.h"

namespace scenario {

// The eleven numbers of a signal record, in the order of the source.
struct SignalRecord {
  int32_t posizione = 0;
  int32_t sx = 0;
  int32_t s1 = 0;
  int32_t s2 = 0;
  int32_t s3 = 0;
  int32_t rapp = 0;
  int32_t dx = 0;
  int32_t d1 = 0;
  int32_t d2 = 0;
  int32_t d3 = 0;
  int32_t tempo = 0;
};

// Whether a signal of code sx keeps its tempo in the timer.
bool keeps_tempo(int32_t sx);

// The timer a signal stores: its tempo (1 to 100 raised to 101), low 8 bits,
// when it keeps it, else 0.
uint8_t signal_timer(int32_t sx, int32_t tempo);

// Signals and slowdown cells stand one cell past their position's fiftieth:
// p / 50 + 1, rounded as a whole (a signal at 1500 takes cell 31).
int64_t signal_cell(int64_t position);

// Places a signal in its cell and marks the four approach cells before it;
// refuses with 16 when the signal's cell is taken. The caller has checked the
// position against the grid.
Verdict memo_segnale(RouteModel& model, const SignalRecord& record);

}  // namespace scenario
