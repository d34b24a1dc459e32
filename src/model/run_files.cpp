#include "model/run_files.h"

#include "model/windows1252.h"

namespace scenario {
namespace {

// The endings that tell the binary files apart. The geometry's is tested
// first: it ends in .dat as well.
constexpr std::string_view kLineGeometryEnding = "_linea.dat";
constexpr std::string_view kEntryTableEnding = ".sim";
constexpr std::string_view kCellGridEnding = ".dat";

}  // namespace

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
      .line_geometry = dir / (line + std::string(kLineGeometryEnding)),
      .entry_table = dir / (train + std::string(kEntryTableEnding)),
      .cell_grid = dir / (train + std::string(kCellGridEnding)),
      .view_page = dir / (train + ".html"),
  };
}

std::optional<ScenarioFileKind> scenario_file_kind(const std::filesystem::path& path) {
  const std::string name = ascii_lower(path.filename().string());
  if (name.ends_with(kLineGeometryEnding)) return ScenarioFileKind::kLineGeometry;
  if (name.ends_with(kEntryTableEnding)) return ScenarioFileKind::kEntryTable;
  if (name.ends_with(kCellGridEnding)) return ScenarioFileKind::kCellGrid;
  return std::nullopt;
}

std::string scenario_file_patterns() {
  return "*" + std::string(kLineGeometryEnding) + ", *" + std::string(kEntryTableEnding) + " or *" +
         std::string(kCellGridEnding);
}

}  // namespace scenario
