#include "compile/scenario_files.h"

#include <string>

#include "format/cell_grid.h"
#include "format/entry_table.h"
#include "format/line_geometry.h"
#include "io/replace_file.h"

namespace scenario {

void write_scenario_files(const RouteModel& model, const RunFiles& files) {
  const std::string entry_table = encode_entry_table(model.entries);
  const std::string cell_grid = encode_cell_grid(model.cells);
  if (model.write_trace != 0) {
    replace_file(files.line_geometry, [&](const ByteSink& sink) { write_line_geometry(model.plan_trace, sink); });
  }
  replace_file(files.entry_table, entry_table);
  replace_file(files.cell_grid, cell_grid);
}

}  // namespace scenario
