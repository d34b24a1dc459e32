#include "model/trace_walk.h"

namespace scenario {

Trace trace_points(const PlanTrace& trace) {
  Trace points;
  points.x.reserve(static_cast<size_t>(trace.points));
  points.y.reserve(static_cast<size_t>(trace.points));
  for_each_point(trace, [&](const TraceValue& x, const TraceValue& y) {
    points.x.push_back(x);
    points.y.push_back(y);
  });
  return points;
}

}  // namespace scenario
