#include "inspect/trace_summary.h"

#include <algorithm>
#include <cmath>

namespace scenario {
namespace {

void count_value(TraceSummary& summary, const TraceValue& value) {
  switch (value.tag) {
    case TraceValue::kEmpty: ++summary.empty_values; break;
    case TraceValue::kInt16: ++summary.integer_values; break;
    case TraceValue::kDouble: ++summary.double_values; break;
  }
}

void extend_box(std::optional<PlanBox>& box, const PlanPoint& p) {
  if (!box) {
    box = PlanBox{p.x, p.y, p.x, p.y};
    return;
  }
  box->min_x = std::min(box->min_x, p.x);
  box->min_y = std::min(box->min_y, p.y);
  box->max_x = std::max(box->max_x, p.x);
  box->max_y = std::max(box->max_y, p.y);
}

// A summary made point after point, first to last.
struct SummaryWalk {
  TraceSummary summary;
  std::optional<PlanPoint> previous;

  void add(const TraceValue& x, const TraceValue& y) {
    ++summary.points;
    count_value(summary, x);
    count_value(summary, y);
    const std::optional<PlanPoint> point = plan_point(x, y);
    if (point) {
      ++summary.defined_points;
      extend_box(summary.box, *point);
      if (previous) summary.length += std::hypot(point->x - previous->x, point->y - previous->y);
    }
    previous = point;
  }
};

}  // namespace

std::optional<PlanPoint> plan_point(const TraceValue& x, const TraceValue& y) {
  if (x.tag == TraceValue::kEmpty || y.tag == TraceValue::kEmpty) return std::nullopt;
  return PlanPoint{x.value, y.value};
}

std::optional<PlanPoint> plan_point(const Trace& trace, size_t m) {
  if (m >= trace.x.size() || m >= trace.y.size()) return std::nullopt;
  return plan_point(trace.x[m], trace.y[m]);
}

TraceSummary summarize_trace(const Trace& trace, size_t first, size_t last) {
  const size_t count = std::min(trace.x.size(), trace.y.size());
  if (count == 0 || first >= count) return {};
  last = std::min(last, count - 1);
  SummaryWalk walk;
  for (size_t m = first; m <= last; ++m) walk.add(trace.x[m], trace.y[m]);
  return walk.summary;
}

TraceSummary summarize_trace(const GeometryHalves& halves) {
  TraceValueReader x(halves.x);
  TraceValueReader y(halves.y);
  SummaryWalk walk;
  for (size_t m = 0; m < halves.points; ++m) walk.add(x.next(), y.next());
  return walk.summary;
}

}  // namespace scenario
