#pragma once

#include <cstdint>

#include "model/route_model.h"

namespace scenario {

// What lives only while one reading of the two sources runs.
struct ReaderState {
  // Line source.
  int64_t gradient_fill = 0;      // next cell to receive a gradient
  int32_t previous_gradient = 0;  // per mille
  int64_t trace_position = 2;     // next trace point to compute
  int32_t next_board_slot = kBoardTop;
  // Train source.
  int32_t station_counter = kFirstStationRow;
  int64_t speed_fill = 0;
  int32_t previous_speed = 0;  // km/h
  int64_t adhesion_fill = 0;
  int32_t previous_adhesion = 0;
};

}  // namespace scenario
