#include "reader/plan_trace.h"

#include <array>
#include <string>

#include "model/run_failure.h"
#include "reader/error_site.h"
#include "reader/refuse.h"

namespace scenario {
namespace {

// Change of direction per metre, in radians, of curve classes 1 to 6.
constexpr std::string_view kClassDigits = "123456";
constexpr std::array<double, 6> kCurvature = {0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};
// The first two points are computed from nothing: they are given.
constexpr int64_t kFirstComputedPoint = 2;
// The last two points of the trace stay empty.
constexpr int64_t kEmptyTail = 2;

int64_t last_computed_point(const RouteModel& model) {
  return int64_t{model.extended_length} - kEmptyTail;
}

// Computes the points from the trace position up to last, each from the two
// before it: a straight step repeats the last step vector, a curved one turns
// it by k without scaling it back to unit length. Refuses with 103, and
// returns false, once the position passes the trace limit.
bool step_to(RouteModel& model, ReaderState& state, int64_t last, double k) {
  std::vector<TraceValue>& x = model.trace.x;
  std::vector<TraceValue>& y = model.trace.y;
  if (last >= static_cast<int64_t>(x.size()) || last >= static_cast<int64_t>(y.size())) {
    throw RunFailure("plan trace point " + std::to_string(last) + " lies beyond the trace");
  }
  int64_t c = state.trace_position;
  while (c <= last) {
    const auto i = static_cast<size_t>(c);
    const double dx = x[i - 1].value - x[i - 2].value;
    const double dy = y[i - 1].value - y[i - 2].value;
    // Both components turn from the same old step vector.
    const double step_x = k == 0.0 ? dx : dx + k * dy;
    const double step_y = k == 0.0 ? dy : dy - k * dx;
    x[i] = {TraceValue::kDouble, x[i - 1].value + step_x};
    y[i] = {TraceValue::kDouble, y[i - 1].value + step_y};
    if (++c > kTraceLimit) {
      state.trace_position = c;
      refuse(model, kTraceError,
             "plan trace: point " + std::to_string(c) + " passes the limit of " +
                 std::to_string(kTraceLimit) + " points");
      return false;
    }
  }
  state.trace_position = c;
  return true;
}

}  // namespace

void create_trace(RouteModel& model) {
  if (model.extended_length < 0) {
    throw RunFailure("extended length " + std::to_string(model.extended_length) +
                     " m leaves no plan trace");
  }
  const auto points = static_cast<size_t>(model.extended_length) + 1;
  model.trace.x.assign(points, TraceValue{});
  model.trace.y.assign(points, TraceValue{});
}

void seed_trace(RouteModel& model, ReaderState& state) {
  if (model.trace.x.size() < kFirstComputedPoint || model.trace.y.size() < kFirstComputedPoint) {
    throw RunFailure("the plan trace has no room for its two seed points");
  }
  model.trace.x[0] = {TraceValue::kInt16, 0};
  model.trace.y[0] = {TraceValue::kInt16, 0};
  model.trace.x[1] = {TraceValue::kInt16, 0};
  model.trace.y[1] = {TraceValue::kInt16, 1};
  state.trace_position = kFirstComputedPoint;
}

void apply_curve(RouteModel& model, ReaderState& state, std::string_view keyword, int32_t start,
                 int32_t length) {
  // The first class digit found, testing 1 before 2 and so on, wins.
  size_t curve_class = 0;
  while (curve_class < kClassDigits.size() &&
         keyword.find(kClassDigits[curve_class]) == std::string_view::npos) {
    ++curve_class;
  }
  if (curve_class == kClassDigits.size()) {
    refuse(model, kTraceError,
           "curve at " + std::to_string(start) + " m: keyword \"" + std::string(keyword) +
               "\" holds no class digit 1 to 6");
    return;
  }
  const bool to_left = keyword.find_first_of("sS") != std::string_view::npos;
  const double k = to_left ? -kCurvature[curve_class] : kCurvature[curve_class];
  // A curve may not bend the trace past its last computed point: refused
  // whole, so the trace runs straight to its end instead.
  const int64_t end = int64_t{start} + length;
  if (end > last_computed_point(model)) {
    refuse(model, kPositionError,
           "curve at " + std::to_string(start) + " m: its end at " + std::to_string(end) +
               " m lies beyond the last plan trace point " + std::to_string(last_computed_point(model)));
    return;
  }
  if (step_to(model, state, start, 0.0)) step_to(model, state, end, k);
}

void extend_trace(RouteModel& model, ReaderState& state) {
  step_to(model, state, last_computed_point(model), 0.0);
}

}  // namespace scenario
