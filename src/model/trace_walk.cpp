#include "model/trace_walk.h"

#include <algorithm>

namespace scenario {

TraceValueCounts value_counts(const PlanTrace& trace) {
  // The same steps as for_each_point's, point m ending where its loops do.
  TraceValueCounts counts;
  int64_t m = 0;
  if (trace.seeded) {
    counts.seeds = kFirstComputedPoint;
    m = kFirstComputedPoint;
    for (const TraceRun& run : trace.runs) {
      counts.computed += std::max<int64_t>(0, run.last - run.first + 1);
      m = std::max(run.first, run.last + 1);
    }
  }
  counts.empty = std::max<int64_t>(0, trace.points - m);
  return counts;
}

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
