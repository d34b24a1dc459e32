#include "compile/scenario_files.h"

#include <string>

#include "format/cell_grid.h"
#include "format/entry_table.h"
#include "format/line_geometry.h"
#include "io/staged_files.h"

namespace scenario {

void write_scenario_files(const RouteModel& model, const RunFiles& files) {
  const std::string entry_table = encode_entry_table(model.entries);
  const std::string cell_grid = encode_cell_grid(model.cells);
  StagedFiles staged;
  if (model.write_trace != 0) {
    StagedFile& geometry = staged.stage(files.line_geometry);
    write_line_geometry(model.plan_trace,
                        [&geometry](uint64_t offset, std::string_view bytes) { geometry.write_at(offset, bytes); });
  }
  staged.stage(files.entry_table).append(entry_table);
  staged.stage(files.cell_grid).append(cell_grid);
  staged.publish();
}

}  // namespace scenario
