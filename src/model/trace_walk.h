#pragma once

#include <cstdint>

#include "model/route_model.h"

namespace scenario {

// Points 0 and 1 are the seeds; every later point is computed from the two
// before it.
inline constexpr int64_t kFirstComputedPoint = 2;

// Calls visit(x, y) for every point of the trace, point 0 first: the two
// seeds as 16-bit integers, the computed points as doubles, the rest empty.
// Each step repeats the previous step vector, turned by k without scaling it
// back to unit length; both components turn from the same old step.
template <typename Visit>
void for_each_point(const PlanTrace& trace, Visit&& visit) {
  int64_t m = 0;
  if (trace.seeded) {
    visit(TraceValue{TraceValue::kInt16, 0.0}, TraceValue{TraceValue::kInt16, 0.0});
    visit(TraceValue{TraceValue::kInt16, 0.0}, TraceValue{TraceValue::kInt16, 1.0});
    double x0 = 0.0;
    double y0 = 0.0;
    double x1 = 0.0;
    double y1 = 1.0;
    m = kFirstComputedPoint;
    for (const TraceRun& run : trace.runs) {
      // Copies: a visit that writes bytes could alias them, and reloading
      // them for every point costs more than the point's own arithmetic.
      const double k = run.k;
      const int64_t last = run.last;
      for (m = run.first; m <= last; ++m) {
        const double dx = x1 - x0;
        const double dy = y1 - y0;
        const double step_x = k == 0.0 ? dx : dx + k * dy;
        const double step_y = k == 0.0 ? dy : dy - k * dx;
        x0 = x1;
        y0 = y1;
        x1 = x1 + step_x;
        y1 = y1 + step_y;
        visit(TraceValue{TraceValue::kDouble, x1}, TraceValue{TraceValue::kDouble, y1});
      }
    }
  }
  for (; m < trace.points; ++m) visit(TraceValue{}, TraceValue{});
}

// How many values of each kind one component of the trace holds, as
// for_each_point visits them, counted without computing a point.
struct TraceValueCounts {
  int64_t seeds = 0;
  int64_t computed = 0;
  int64_t empty = 0;
};
TraceValueCounts value_counts(const PlanTrace& trace);

// Every point stored, as a decoded line geometry file holds them.
Trace trace_points(const PlanTrace& trace);

}  // namespace scenario
