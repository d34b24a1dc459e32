#include "model/run_files.h"

#include "model/windows1252.h"

namespace scenario {
namespace {

// The endings that tell the binary files apart. The geometry's is tested
// first: it ends in .dat as well.
constexpr std::string_view kLineGeometryEnding = "_linea.dat";
constexpr std::string_view kEntryTableEnding = ".sim";
constexpr std::string_view kCellGridEnding = ".dat";

// What follows the scenario name in a line file's name, and the scenario
// name, "_" and the train number in a train file's.
constexpr std::string_view kLineSourceEnding = "_linea.txt";
constexpr std::string_view kTrainSourceEnding = "-.txt";
constexpr std::string_view kNotesEnding = "_note.txt";
constexpr std::string_view kSlowdownsEnding = "_rallentamenti.txt";
constexpr std::string_view kTimetableEnding = "_scheda_treno.txt";
constexpr std::string_view kViewPageEnding = ".html";
constexpr std::string_view kTrainSeparator = "_";

constexpr std::string_view kLineEndings[] = {kLineSourceEnding, kLineGeometryEnding};
constexpr std::string_view kTrainEndings[] = {kTrainSourceEnding, kNotesEnding,       kSlowdownsEnding,
                                              kTimetableEnding,   kEntryTableEnding, kCellGridEnding,
                                              kViewPageEnding};

// Whether name is a non-empty stem followed by ending.
bool stem_with_ending(std::string_view name, std::string_view ending, std::string_view& stem) {
  if (name.size() <= ending.size() || !name.ends_with(ending)) return false;
  stem = name.substr(0, name.size() - ending.size());
  return true;
}

// A scenario name, the separator and a train number, neither empty.
bool scenario_and_train(std::string_view stem) {
  const size_t separator = stem.find(kTrainSeparator);
  return separator != std::string_view::npos && separator > 0 && separator + kTrainSeparator.size() < stem.size();
}

std::filesystem::path file_named(const std::filesystem::path& dir, std::string_view stem,
                                std::string_view ending) {
  return dir / (std::string(stem) + std::string(ending));
}

}  // namespace

RunFiles run_files(const std::filesystem::path& dir, std::string_view scenario_name,
                   std::string_view train_number) {
  const std::string train = std::string(scenario_name) + std::string(kTrainSeparator) + std::string(train_number);
  return RunFiles{
      .line_source = file_named(dir, scenario_name, kLineSourceEnding),
      .train_source = file_named(dir, train, kTrainSourceEnding),
      .notes = file_named(dir, train, kNotesEnding),
      .slowdowns = file_named(dir, train, kSlowdownsEnding),
      .timetable = file_named(dir, train, kTimetableEnding),
      .line_geometry = file_named(dir, scenario_name, kLineGeometryEnding),
      .entry_table = file_named(dir, train, kEntryTableEnding),
      .cell_grid = file_named(dir, train, kCellGridEnding),
      .view_page = file_named(dir, train, kViewPageEnding),
  };
}

bool is_run_file_name(std::string_view name) {
  if (name.find('/') != std::string_view::npos) return false;
  std::string_view stem;
  for (const std::string_view ending : kLineEndings) {
    if (stem_with_ending(name, ending, stem)) return true;
  }
  for (const std::string_view ending : kTrainEndings) {
    if (stem_with_ending(name, ending, stem) && scenario_and_train(stem)) return true;
  }
  return false;
}

std::optional<SourceName> source_name(const std::filesystem::path& path) {
  const std::string name = path.filename().string();
  if (name.size() > kLineSourceEnding.size() && name.ends_with(kLineSourceEnding)) {
    return SourceName{true, name.substr(0, name.size() - kLineSourceEnding.size()), {}};
  }
  if (!name.ends_with(kTrainSourceEnding)) return std::nullopt;
  const std::string stem = name.substr(0, name.size() - kTrainSourceEnding.size());
  const size_t underscore = stem.rfind(kTrainSeparator);
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
