#include "model/route_model.h"

#include "model/run_failure.h"

namespace scenario {

void reset_entries(RouteModel& model) { model.entries.fill(Entry{}); }

Cell& cell_at(RouteModel& model, int64_t i) {
  if (i < 0 || i >= static_cast<int64_t>(model.cells.size())) {
    throw RunFailure("cell " + std::to_string(i) + " lies outside the grid");
  }
  return model.cells[static_cast<size_t>(i)];
}

}  // namespace scenario
