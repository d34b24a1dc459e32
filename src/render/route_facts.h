#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/route_model.h"
#include "render/curves.h"

namespace scenario {

// What the drawing shows, read from the decoded files. Positions are metres
// from the route origin. Signals, boards and slowdown cells stand in the cell
// after the one of their position (cell p / 50 + 1), so they are drawn at
// 50 x (cell - 1), the position their source record gave; speed reduction
// points stand in cell p / 50 and are drawn at 50 x cell. A slowdown's
// warning board stands 1200 m before its start, in the cell after that.

struct Station {
  int32_t position = 0;
  int32_t extent_start = 0;
  int32_t extent_end = 0;
  uint8_t kind = 0;
  std::string name;           // UTF-8
  int32_t time = 0;           // the scheduled time of day, in seconds, as stored
  bool timing_point() const;  // no stop: kinds 25 and above
};

// A maximum-speed board as drawn: the reader's SpeedBoard is the record it
// came from.
struct DrawnSpeedBoard {
  int32_t position = 0;
  int speed = 0;    // km/h of the s side
  int stripes = 0;  // 0 where the speed applies, 1 or 2 on the boards that announce it
};

// A board whose speed the drawing shows: a slowdown's warning board.
struct WarningBoard {
  int32_t position = 0;
  int speed = 0;
};

struct IndicationBoard {
  int32_t position = 0;
  std::string text;  // UTF-8, its lines joined by " / "
};

// A speed reduction point, the author's ("abbattimento") or one the
// compiler's pass placed.
struct ReductionPoint {
  int32_t position = 0;
  std::optional<int> speed;  // km/h, for a point with a value
  bool compilers = false;
};

// A stretch of cells with one value.
struct Stretch {
  int32_t from = 0;
  int32_t to = 0;
  int value = 0;
};

// Metres from the route origin, `from` before `to`.
struct Span {
  int32_t from = 0;
  int32_t to = 0;
};

// What lies in the drawn span, from `from` to `to`: objects within it, and
// stretches cut to it.
struct RouteFacts {
  int32_t route_length = 0;  // the whole route, 0 to route_length
  int32_t from = 0;          // the drawn span
  int32_t to = 0;
  double start_height = 0.0;  // metres above the origin at `from`, from the gradients
  std::vector<Station> stations;
  std::vector<int32_t> signals;
  std::vector<DrawnSpeedBoard> speed_boards;
  std::vector<IndicationBoard> indication_boards;
  std::vector<WarningBoard> warning_boards;
  std::vector<ReductionPoint> reduction_points;
  std::vector<Stretch> slowdowns;     // start to end at the slowdown speed
  std::vector<Stretch> speed_limits;  // km/h
  std::vector<Stretch> gradients;     // per mille
  std::vector<Stretch> tunnels;       // value: tunnel kind
  std::vector<Curve> curves;
  int32_t length() const { return to - from; }
};

// The route's length as the drawing takes it.
int32_t drawn_route_length(const RouteModel& model);

// The facts of the span (the whole route when none is given). The grid as it
// was before the compiler's pass tells its speed reduction points from the
// author's; without it every point is taken for the author's.
RouteFacts route_facts(const RouteModel& model, std::optional<Span> span = std::nullopt,
                       const Cells* cells_before_pass = nullptr);

// The same without the stretches and curves: the stations and the objects
// of the cells alone, what a count of them needs.
RouteFacts route_objects(const RouteModel& model, std::optional<Span> span = std::nullopt,
                         const Cells* cells_before_pass = nullptr);

// An indication board's text as its lines: "(SOTTOVIA    )(AUTOSTRADALE)"
// reads "SOTTOVIA / AUTOSTRADALE"; a text without groups stays as it is.
std::string board_lines(const std::string& text);

}  // namespace scenario
