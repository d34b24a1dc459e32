#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace scenario {

// The eight files of one run, and the page `scenario view` draws them on.
// Line files carry the scenario name only; every train file carries the
// train number too.
struct RunFiles {
  std::filesystem::path line_source;    // SCENARIO_linea.txt
  std::filesystem::path train_source;   // SCENARIO_TRAIN-.txt
  std::filesystem::path notes;          // SCENARIO_TRAIN_note.txt
  std::filesystem::path slowdowns;      // SCENARIO_TRAIN_rallentamenti.txt
  std::filesystem::path timetable;      // SCENARIO_TRAIN_scheda_treno.txt
  std::filesystem::path line_geometry;  // SCENARIO_linea.dat
  std::filesystem::path entry_table;    // SCENARIO_TRAIN.sim
  std::filesystem::path cell_grid;      // SCENARIO_TRAIN.dat
  std::filesystem::path view_page;      // SCENARIO_TRAIN.html
};

// The only place that spells a file name, and the one that recognises them.
RunFiles run_files(const std::filesystem::path& dir, std::string_view scenario_name,
                   std::string_view train_number);

// Whether a file name is one that run_files spells for some scenario name and
// train number, letter case as it spells it: S_linea.txt, S_T-.txt,
// S_T_note.txt … S_T.dat. A name of a user's own file (notes, thesis.tex) is
// not.
bool is_run_file_name(std::string_view name);

// A text source told by its name: SCENARIO_linea.txt is the line source of
// SCENARIO; SCENARIO_TRAIN-.txt a train source, whose scenario name ends at
// its last underscore. Letter case matters, as run_files spells them.
struct SourceName {
  bool line_source = false;
  std::string scenario;
  std::string train;  // empty for a line source
};

std::optional<SourceName> source_name(const std::filesystem::path& path);

// The three binary scenario files, told apart by name: SCENARIO_linea.dat is
// the line geometry, SCENARIO_TRAIN.sim the entry table and any other .dat
// the cell grid. Letter case does not matter, as on the simulator's own disks.
enum class ScenarioFileKind { kLineGeometry, kEntryTable, kCellGrid };

std::optional<ScenarioFileKind> scenario_file_kind(const std::filesystem::path& path);

// The names scenario_file_kind recognises, for messages: "*_linea.dat, *.sim
// or *.dat".
std::string scenario_file_patterns();

}  // namespace scenario
