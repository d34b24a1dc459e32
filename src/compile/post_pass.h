#pragma once

#include <cstdint>

#include "model/route_model.h"

namespace scenario {

// Value of every speed reduction point the pass places, and the cap it puts
// on a point it finds already there.
inline constexpr int16_t kAutoPointValue = 180;

// The smaller of two values, x on a tie.
int16_t minimo(int16_t x, int16_t y);

// Completes the grid with automatic speed reduction points (kind 12, p1 180):
// before the signals in the kilometre ahead of a slowdown warning board, at
// three distances before each slowdown start, every 8 cells along a slowdown
// slower than 110, and before the first signal after such a slowdown's end.
// Changes only kind and p1 of free cells (and p1 of points already there).
// A model without a grid is left as it is.
void post_pass(RouteModel& model);

}  // namespace scenario
