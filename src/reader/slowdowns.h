#pragma once

#include <cstdint>
#include <vector>

#include "model/route_model.h"
#include "reader/refuse.h"

namespace scenario {

// The six numbers of a slowdown record, in the order of the source.
struct SlowdownRecord {
  int32_t x = 0;     // start position, m
  int32_t v = 0;     // speed of the restriction
  int32_t l = 0;     // length, m
  int32_t f_tt = 0;  // copied to the start and end cells
  int32_t f_ta = 0;  // asks for the four pre-warning cells
  int32_t d_v = 0;   // copied to p2 of the board cells when not 0
};

// The cells a slowdown lays down.
struct SlowdownCells {
  int64_t start = 0;
  int64_t end = 0;
  bool has_board = false;  // a warning board 1200 m ahead, for slowdowns past 1500 m
  int64_t board = 0;
  bool pre_warnings = false;  // asked for, and only with a warning board
  int64_t first_pre_warning = 0;  // the one next to the board; the other three before it
  std::vector<int64_t> taken() const;
};

SlowdownCells slowdown_cells(const SlowdownRecord& record);

// Lays a slowdown into the grid: warning board 1200 m ahead (past 1500 m),
// start, end and on request four pre-warning cells. Refuses with 17 to 20
// when one of them is taken, and with 15 when the end lies beyond the grid.
// The caller has checked x against the grid.
Verdict memo_rallentamento(RouteModel& model, const SlowdownRecord& record);

}  // namespace scenario
