#pragma once

#include <cstdint>
#include <string>

#include "model/route_model.h"
#include "reader/reader_state.h"
#include "reader/refuse.h"

namespace scenario {

// A board stands in the cell after the one its position falls in, with halves
// going to the even neighbour (2475 m gives cell 50).
int64_t board_cell(int32_t posizione);

// The nine fields of a maximum-speed board record, in file order: speeds in
// km/h of the s and d groups, and their stripe counts.
struct SpeedBoard {
  int32_t posizione = 0;
  int32_t vas = 0;
  int32_t vbs = 0;
  int32_t vcs = 0;
  int32_t strisces = 0;
  int32_t vad = 0;
  int32_t vbd = 0;
  int32_t vcd = 0;
  int32_t strisced = 0;
};

// Places a maximum-speed board (kind 6) in cell posizione / 50 + 1. Refuses
// with 21 a cell that is not free.
Verdict memo_indicatori_v_max(RouteModel& model, const SpeedBoard& board);

// Places an indication board (kind 14) in cell posizione / 50 + 1 and its
// text in the next board slot, which moves down one row. Refuses with 6 a
// cell that is not free, with 15 a board for which no row is left.
Verdict place_text_board(RouteModel& model, ReaderState& state, int32_t posizione, const std::string& text);

}  // namespace scenario
