#pragma once

#include <filesystem>
#include <string_view>

namespace scenario {

// The eight files of one run. Line files carry the scenario name only; every
// train file carries the train number too.
struct RunFiles {
  std::filesystem::path line_source;    // SCENARIO_linea.txt
  std::filesystem::path train_source;   // SCENARIO_TRAIN-.txt
  std::filesystem::path notes;          // SCENARIO_TRAIN_note.txt
  std::filesystem::path slowdowns;      // SCENARIO_TRAIN_rallentamenti.txt
  std::filesystem::path timetable;      // SCENARIO_TRAIN_scheda_treno.txt
  std::filesystem::path line_geometry;  // SCENARIO_linea.dat
  std::filesystem::path entry_table;    // SCENARIO_TRAIN.sim
  std::filesystem::path cell_grid;      // SCENARIO_TRAIN.dat
};

// The only place that spells a file name.
RunFiles run_files(const std::filesystem::path& dir, std::string_view scenario_name,
                   std::string_view train_number);

}  // namespace scenario
