#include "compile/scenario_files.h"

#include <optional>
#include <string>

#include "format/cell_grid.h"
#include "format/entry_table.h"
#include "format/line_geometry.h"
#include "io/replace_file.h"

namespace scenario {

void write_scenario_files(const RouteModel& model, const RunFiles& files) {
  std::optional<std::string> geometry;
  if (model.write_trace != 0) geometry = encode_line_geometry(model.trace);
  const std::string entry_table = encode_entry_table(model.entries);
  const std::string cell_grid = encode_cell_grid(model.cells);
  if (geometry) replace_file(files.line_geometry, *geometry);
  replace_file(files.entry_table, entry_table);
  replace_file(files.cell_grid, cell_grid);
}

}  // namespace scenario
