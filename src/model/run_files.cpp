#include "model/run_files.h"

#include <string>

namespace scenario {

RunFiles run_files(const std::filesystem::path& dir, std::string_view scenario_name,
                   std::string_view train_number) {
  const std::string line(scenario_name);
  const std::string train = line + "_" + std::string(train_number);
  return RunFiles{
      .line_source = dir / (line + "_linea.txt"),
      .train_source = dir / (train + "-.txt"),
      .notes = dir / (train + "_note.txt"),
      .slowdowns = dir / (train + "_rallentamenti.txt"),
      .timetable = dir / (train + "_scheda_treno.txt"),
      .line_geometry = dir / (line + "_linea.dat"),
      .entry_table = dir / (train + ".sim"),
      .cell_grid = dir / (train + ".dat"),
  };
}

}  // namespace scenario
