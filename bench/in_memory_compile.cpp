#include "bench/in_memory_compile.h"

#include <utility>

#include "compile/competition_codes.h"
#include "compile/post_pass.h"
#include "format/cell_grid.h"
#include "format/entry_table.h"
#include "format/line_geometry.h"
#include "format/scenario_format.h"
#include "model/run_files.h"

namespace scenario::bench {

ReadReport read_sources_in_memory(RouteModel& model, std::string_view line_source, std::string_view train_source,
                                  int32_t j) {
  // The package's own reading, its sources named as the files would be.
  const RunFiles files = run_files({}, model.scenario_name, model.train_number);
  ReadOptions options = read_options(model.scenario_name, model.train_number, j);
  options.line_file = files.line_source.filename().string();
  options.train_file = files.train_source.filename().string();
  ReadResult read = read_sources(line_source, train_source, options);
  model = std::move(read.scenario);
  return std::move(read.report);
}

ScenarioBytes compile_in_memory(RouteModel& model, std::string_view line_source, std::string_view train_source,
                                int32_t j, ReadReport& read) {
  read = read_sources_in_memory(model, line_source, train_source, j);
  post_pass(model);
  model.entries[kScenarioRow].long4 = codice_gara_st(model);
  cell_at(model, kReservedCell).p2 = codice_gara_og(model);
  std::string geometry = model.write_trace != 0 ? encode_line_geometry(model.plan_trace) : std::string();
  return {std::move(geometry), encode_entry_table(model.entries), encode_cell_grid(model.cells)};
}

}  // namespace scenario::bench
