#include "model/run_files.h"
#include "sources/builtin_sources.h"

namespace scenario {

void dati_linea(const RouteModel& model, const std::filesystem::path& dir, Durability durability) {
  write_table(run_files(dir, model.scenario_name, model.train_number).line_source, line_source_table(), durability);
}

void dati_treno(const RouteModel& model, const std::filesystem::path& dir, Durability durability) {
  write_table(run_files(dir, model.scenario_name, model.train_number).train_source, train_source_table(), durability);
}

}  // namespace scenario
