#pragma once

#include <cstdint>

#include "model/route_model.h"
#include "reader/reader_state.h"
#include "reader/refuse.h"

namespace scenario {

// A gradient record: gradient g (per mille) holds from position p (metres)
// on. The cells before p's cell receive the previous record's gradient.
void apply_gradient(RouteModel& model, ReaderState& state, int32_t p, int32_t g);

// After the last record: the last gradient runs on to cell last_cell - 3 (at
// least one cell is written); the last three cells keep gradient 0.
void final_gradient_fill(RouteModel& model, ReaderState& state);

// The cells a tunnel from inizio to fine (metres) covers: from its entrance
// cell to the one before its exit cell; none when last < first.
struct TunnelCells {
  int64_t first = 0;
  int64_t last = 0;
};
TunnelCells tunnel_cells(int32_t inizio, int32_t fine);

// Lays a tunnel into the grid and the tunnel register.
// A tunnel from inizio to fine (metres) of kind tipo covers the cells from its
// entrance cell to the one before its exit cell. A tipo above 10 stands for
// tipo - 10 with a tunnel marker in every fourth free cell; a tunnel that
// begins within 150 m of the previous one's exit becomes kind 3. Refuses with
// 15 an 81st tunnel and a tunnel whose cells reach past the grid.
Verdict memo_montagna(RouteModel& model, int32_t inizio, int32_t fine, int32_t tipo);

// The kind a tipo stands for: above 10, tipo - 10 (and markers).
int32_t tunnel_kind(int32_t tipo);

// Whether a tunnel that begins at inizio follows the last one stored closely
// enough to take kind 3.
bool follows_closely(const RouteModel& model, int32_t inizio);

}  // namespace scenario
