#pragma once

#include <cstddef>
#include <limits>
#include <optional>

#include "format/line_geometry.h"
#include "model/route_model.h"

namespace scenario {

struct PlanBox {
  double min_x = 0.0;
  double min_y = 0.0;
  double max_x = 0.0;
  double max_y = 0.0;
};

// What the plan trace holds, without listing its points. A point is defined
// when both its x and its y hold a number.
struct TraceSummary {
  size_t points = 0;  // extended_length + 1
  size_t empty_values = 0;
  size_t integer_values = 0;
  size_t double_values = 0;
  size_t defined_points = 0;
  std::optional<PlanBox> box;  // of the defined points; none when there are none
  double length = 0.0;         // metres along consecutive defined points
};

// Summary of points first to last (clipped to the trace).
TraceSummary summarize_trace(const Trace& trace, size_t first = 0, size_t last = std::numeric_limits<size_t>::max());

// Summary of every point of a checked file, read where its values lie.
TraceSummary summarize_trace(const GeometryHalves& halves);

// Point m when both coordinates hold a number.
struct PlanPoint {
  double x = 0.0;
  double y = 0.0;
};
std::optional<PlanPoint> plan_point(const Trace& trace, size_t m);
std::optional<PlanPoint> plan_point(const TraceValue& x, const TraceValue& y);

}  // namespace scenario
