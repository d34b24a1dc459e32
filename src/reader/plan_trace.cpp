#include "reader/plan_trace.h"

#include <algorithm>
#include <array>
#include <string>

#include "model/run_failure.h"
#include "model/trace_walk.h"
#include "model/windows1252.h"
#include "reader/reader_context.h"
#include "reader/refuse.h"

namespace scenario {
namespace {

// Change of direction per metre, in radians, of curve classes 1 to 6.
constexpr std::string_view kClassDigits = "123456";
constexpr std::array<double, 6> kCurvature = {0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};
// The last two points of the trace stay empty.
constexpr int64_t kEmptyTail = 2;

int64_t last_computed_point(const RouteModel& model) {
  return int64_t{model.extended_length} - kEmptyTail;
}

// Takes the trace position on to last, the points it passes bent by k (a run
// of the trace; its points are computed when they are written). Refuses with
// 103 once the position passes the trace limit: the
// points up to the limit stay computed.
Verdict step_to(RouteModel& model, ReaderState& state, int64_t last, double k) {
  PlanTrace& trace = model.plan_trace;
  if (last >= trace.points) {
    throw RunFailure("plan trace point " + std::to_string(last) + " lies beyond the trace");
  }
  const int64_t first = state.trace_position;
  if (first > last) return {};
  const int64_t end = std::min(last, std::max(first, kTraceLimit));
  trace.runs.push_back(TraceRun{first, end, k});
  state.trace_position = end + 1;
  if (state.trace_position > kTraceLimit) {
    return refuse(kTraceError, "plan trace: point " + std::to_string(state.trace_position) +
                                   " passes the limit of " + std::to_string(kTraceLimit) + " points");
  }
  return {};
}

}  // namespace

void create_trace(RouteModel& model) {
  if (model.extended_length < 0) {
    throw RunFailure("extended length " + std::to_string(model.extended_length) +
                     " m leaves no plan trace");
  }
  model.plan_trace = PlanTrace{};
  model.plan_trace.points = int64_t{model.extended_length} + 1;
}

void seed_trace(RouteModel& model, ReaderState& state) {
  if (model.plan_trace.points < kFirstComputedPoint) {
    throw RunFailure("the plan trace has no room for its two seed points");
  }
  model.plan_trace.seeded = true;
  state.trace_position = kFirstComputedPoint;
}

Verdict apply_curve(RouteModel& model, ReaderState& state, std::string_view keyword, int32_t start,
                 int32_t length) {
  const CurveKeyword curve = read_curve_keyword(keyword);
  if (curve.curve_class == 0) {
    return refuse(kTraceError, "curve at " + std::to_string(start) + " m: keyword " + quoted(keyword) +
                                   " holds no class digit 1 to 6");
  }
  const double curvature = kCurvature[curve.curve_class - 1];
  const double k = curve.to_left ? -curvature : curvature;
  // A curve may not bend the trace past its last computed point: refused
  // whole, so the trace runs straight to its end instead.
  const int64_t end = int64_t{start} + length;
  if (end > last_computed_point(model)) {
    return refuse(kPositionError, "curve at " + std::to_string(start) + " m: its end at " + std::to_string(end) +
                                      " m lies beyond the last plan trace point " +
                                      std::to_string(last_computed_point(model)));
  }
  if (Verdict refused = step_to(model, state, start, 0.0)) return refused;
  return step_to(model, state, end, k);
}

CurveKeyword read_curve_keyword(std::string_view keyword) {
  // The first class digit found, testing 1 before 2 and so on, wins.
  size_t digit = 0;
  while (digit < kClassDigits.size() && keyword.find(kClassDigits[digit]) == std::string_view::npos) ++digit;
  return {digit < kClassDigits.size() ? digit + 1 : 0, keyword.find_first_of("sS") != std::string_view::npos};
}

Verdict extend_trace(RouteModel& model, ReaderState& state) {
  return step_to(model, state, last_computed_point(model), 0.0);
}

}  // namespace scenario
