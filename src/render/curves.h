#pragma once

#include <cstdint>
#include <vector>

#include "model/route_model.h"

namespace scenario {

// A curve of the route as the plan trace holds it: the metres it bends
// (its start, as the curve record gave it, to its end) and its radius, the
// inverse of the curvature class the compiler bent it by.
struct Curve {
  int32_t from = 0;
  int32_t to = 0;
  int32_t radius = 0;  // metres
  bool right = false;  // turns clockwise, as a "curvad" record does
};

// The curves of the trace, recovered from the turn between consecutive
// steps: a curved step turns its predecessor by the class's curvature, a
// straight one not at all. Empty without a trace.
std::vector<Curve> curves_of(const Trace& trace);

}  // namespace scenario
