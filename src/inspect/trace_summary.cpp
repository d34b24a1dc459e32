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

}  // namespace

std::optional<PlanPoint> plan_point(const Trace& trace, size_t m) {
  if (m >= trace.x.size() || m >= trace.y.size()) return std::nullopt;
  const TraceValue& x = trace.x[m];
  const TraceValue& y = trace.y[m];
  if (x.tag == TraceValue::kEmpty || y.tag == TraceValue::kEmpty) return std::nullopt;
  return PlanPoint{x.value, y.value};
}

TraceSummary summarize_trace(const Trace& trace, size_t first, size_t last) {
  TraceSummary summary;
  const size_t count = std::min(trace.x.size(), trace.y.size());
  if (count == 0 || first >= count) return summary;
  last = std::min(last, count - 1);
  std::optional<PlanPoint> previous;
  for (size_t m = first; m <= last; ++m) {
    ++summary.points;
    count_value(summary, trace.x[m]);
    count_value(summary, trace.y[m]);
    const std::optional<PlanPoint> point = plan_point(trace, m);
    if (point) {
      ++summary.defined_points;
      extend_box(summary.box, *point);
      if (previous) summary.length += std::hypot(point->x - previous->x, point->y - previous->y);
    }
    previous = point;
  }
  return summary;
}

}  // namespace scenario
