#include "inspect/file_set_check.h"

#include <string>

#include "inspect/scenario_file.h"
#include "model/numeric.h"

namespace scenario {
namespace {

// The last metre of the route as the entry table states it.
int64_t stated_extended_length(const RouteModel& model) {
  return int64_t{model.entries[kTotalsRow].long2} + kRunOut;
}

std::string route_text(int64_t extended_length) {
  return "a route of " + std::to_string(extended_length - kRunOut) + " m";
}

}  // namespace

void check_file_set(const RouteModel& model, const RunFiles& files) {
  const int64_t extended = stated_extended_length(model);
  const auto grid_cells = static_cast<int64_t>(model.cells.size());
  if (grid_cells - 1 != round_half_even(static_cast<double>(extended) / kCellLength)) {
    throw ScenarioFileError(files.entry_table.string() + ": stale: it states " + route_text(extended) + ", but " +
                            files.cell_grid.filename().string() + " holds " + std::to_string(grid_cells) +
                            " cells; compile the scenario again");
  }
  const auto points = static_cast<int64_t>(model.trace.x.size());
  if (points != 0 && points - 1 != extended) {
    throw ScenarioFileError(files.line_geometry.string() + ": stale: it holds " + route_text(points - 1) +
                            ", but the entry table and the cell grid are of " + route_text(extended) +
                            "; compile the scenario again (a compile with --no-trace leaves an older geometry file)");
  }
}

}  // namespace scenario
