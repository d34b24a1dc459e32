#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/route_model.h"

namespace scenario {

// What the drawing shows, read from the decoded files. Positions are metres
// from the route origin. Signals, boards and slowdown cells stand in the cell
// after the one of their position (cell p / 50 + 1), so they are drawn at
// 50 x (cell - 1), the position their source record gave; speed reduction
// points stand in cell p / 50 and are drawn at 50 x cell.

struct Station {
  int32_t position = 0;
  int32_t extent_start = 0;
  int32_t extent_end = 0;
  uint8_t kind = 0;
  std::string name;           // UTF-8
  bool timing_point() const;  // no stop: kinds 25 and above
};

// A maximum-speed board as drawn: the reader's SpeedBoard is the record it
// came from.
struct DrawnSpeedBoard {
  int32_t position = 0;
  int speed = 0;    // km/h of the s side
  int stripes = 0;  // 0 where the speed applies, 1 or 2 on the boards that announce it
};

// A stretch of cells with one value.
struct Stretch {
  int32_t from = 0;
  int32_t to = 0;
  int value = 0;
};

struct RouteFacts {
  int32_t route_length = 0;  // the drawn span, 0 to route_length
  std::vector<Station> stations;
  std::vector<int32_t> signals;
  std::vector<DrawnSpeedBoard> speed_boards;
  std::vector<int32_t> indication_boards;
  std::vector<int32_t> reduction_points;  // with a value or without
  std::vector<Stretch> slowdowns;     // start to end at the slowdown speed
  std::vector<Stretch> speed_limits;  // km/h
  std::vector<Stretch> gradients;     // per mille
  std::vector<Stretch> tunnels;       // value: tunnel kind
};

RouteFacts route_facts(const RouteModel& model);

}  // namespace scenario
