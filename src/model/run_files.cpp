#include "model/run_files.h"

#include "model/windows1252.h"

namespace scenario {
namespace {

// The endings that tell the binary files apart. The geometry's is tested
// first: it ends in .dat as well.
constexpr std::string_view kLineGeometryEnding = "_linea.dat";
constexpr std::string_view kEntryTableEnding = ".sim";
constexpr std::string_view kCellGridEnding = ".dat";

constexpr std::string_view kLineSourceEnding = "_linea.txt";
constexpr std::string_view kTrainSourceEnding = "-.txt";

}  // namespace

RunFiles run_files(const std::filesystem::path& dir, std::string_view scenario_name,
                   std::string_view train_number) {
  const std::string line(scenario_name);
  const std::string train = line + "_" + std::string(train_number);
  return RunFiles{
      .line_source = dir / (line + std::string(kLineSourceEnding)),
      .train_source = dir / (train + std::string(kTrainSourceEnding)),
      .notes = dir / (train + "_note.txt"),
      .slowdowns = dir / (train + "_rallentamenti.txt"),
      .timetable = dir / (train + "_scheda_treno.txt"),
      .line_geometry = dir / (line + std::string(kLineGeometryEnding)),
      .entry_table = dir / (train + std::string(kEntryTableEnding)),
      .cell_grid = dir / (train + std::string(kCellGridEnding)),
  };
}

std::optional<SourceName> source_name(const std::filesystem::path& path) {
  const std::string name = path.filename().string();
  if (name.size() > kLineSourceEnding.size() && name.ends_with(kLineSourceEnding)) {
    return SourceName{true, name.substr(0, name.size() - kLineSourceEnding.size()), {}};
  }
  if (!name.ends_with(kTrainSourceEnding)) return std::nullopt;
  const std::string stem = name.substr(0, name.size() - kTrainSourceEnding.size());
  const size_t underscore = stem.rfind('_');
  if (underscore == std::string::npos || underscore == 0 || underscore + 1 == stem.size()) return std::nullopt;
  return SourceName{false, stem.substr(0, underscore), stem.substr(underscore + 1)};
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
