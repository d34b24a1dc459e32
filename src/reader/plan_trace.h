#pragma once

#include <cstdint>
#include <string_view>

#include "model/error_codes.h"
#include "model/route_model.h"
#include "reader/reader_state.h"
#include "reader/refuse.h"

namespace scenario {

// The trace position may not pass this point.
inline constexpr int64_t kTraceLimit = 1000000;

// The reader keeps the runs of the trace, not its points: those are walked
// when the geometry file is written (model/trace_walk.h).

// Creates the trace of points 0 to extended_length, every value empty.
void create_trace(RouteModel& model);

// Points 0 and 1 are the integer seeds (0, 0) and (0, 1); the route sets off
// along +y. The trace position becomes 2.
void seed_trace(RouteModel& model, ReaderState& state);

// A curve record: straight steps up to point start, then points start + 1 to
// start + length bend with the curvature of the keyword's class digit (toward
// -x when the keyword holds an "s"). Refuses with 103 a keyword without class
// digit, with 15 a curve that ends beyond point extended_length - 2.
Verdict apply_curve(RouteModel& model, ReaderState& state, std::string_view keyword, int32_t start,
                 int32_t length);

// How a curve keyword reads: the first of the digits 1 to 6 it holds, tested
// in that order, gives the class (0 when it holds none), and an "s" of either
// case anywhere turns the curve left.
struct CurveKeyword {
  size_t curve_class = 0;
  bool to_left = false;
};
CurveKeyword read_curve_keyword(std::string_view keyword);

// Straight on up to point extended_length - 2; the last two points stay
// empty. Refuses with 103 a trace that passes its limit.
Verdict extend_trace(RouteModel& model, ReaderState& state);

}  // namespace scenario
