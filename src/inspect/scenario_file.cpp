#include "inspect/scenario_file.h"

#include <string>
#include <system_error>

#include "format/cell_grid.h"
#include "format/decode_error.h"
#include "format/entry_table.h"
#include "format/line_geometry.h"
#include "inspect/scenario_json.h"
#include "io/read_file.h"

namespace scenario {
namespace {

using nlohmann::ordered_json;

std::string bytes_of(const std::filesystem::path& path) {
  std::optional<std::string> bytes = read_file(path);
  std::error_code ignored;
  if (!bytes && !std::filesystem::exists(path, ignored)) throw ScenarioFileError(path.string() + ": no such file");
  if (!bytes) throw ScenarioFileError(path.string() + ": cannot be read");
  return std::move(*bytes);
}

// Runs a decoder on the file's bytes; a DecodeError gains the file's name.
template <typename Decode>
auto decode_file(const std::filesystem::path& path, std::string_view bytes, Decode decode) {
  try {
    return decode(bytes);
  } catch (const DecodeError& e) {
    throw ScenarioFileError(path.string() + ": byte " + std::to_string(e.offset) + ": " + e.what());
  }
}

ordered_json decode_to_json(const std::filesystem::path& path, ScenarioFileKind kind, std::string_view bytes,
                            bool all) {
  switch (kind) {
    case ScenarioFileKind::kLineGeometry:
      return line_geometry_json(decode_file(path, bytes, decode_line_geometry), all);
    case ScenarioFileKind::kEntryTable: return entry_table_json(decode_file(path, bytes, decode_entry_table));
    case ScenarioFileKind::kCellGrid: return cell_grid_json(decode_file(path, bytes, decode_cell_grid), all);
  }
  throw std::logic_error("unknown scenario file kind");
}

ScenarioFileKind kind_of(const std::filesystem::path& path) {
  const std::optional<ScenarioFileKind> kind = scenario_file_kind(path);
  if (!kind) {
    throw ScenarioFileError(path.string() + ": not a scenario file name: expected " + scenario_file_patterns());
  }
  return *kind;
}

std::string_view format_name(ScenarioFileKind kind) {
  switch (kind) {
    case ScenarioFileKind::kLineGeometry: return "line_geometry";
    case ScenarioFileKind::kEntryTable: return "entry_table";
    case ScenarioFileKind::kCellGrid: return "cell_grid";
  }
  return "unknown";
}

}  // namespace

ordered_json inspect_scenario_file(const std::filesystem::path& path, bool all) {
  const ScenarioFileKind kind = kind_of(path);
  const std::string bytes = bytes_of(path);
  ordered_json json{{"file", path.string()}, {"format", format_name(kind)}, {"bytes", bytes.size()}};
  json.update(decode_to_json(path, kind, bytes, all));
  return json;
}

ScenarioFileContents read_scenario_file(const std::filesystem::path& path) {
  const ScenarioFileKind kind = kind_of(path);
  const std::string bytes = bytes_of(path);
  switch (kind) {
    case ScenarioFileKind::kLineGeometry: return decode_file(path, bytes, decode_line_geometry);
    case ScenarioFileKind::kEntryTable: return decode_file(path, bytes, decode_entry_table);
    case ScenarioFileKind::kCellGrid: return decode_file(path, bytes, decode_cell_grid);
  }
  throw std::logic_error("unknown scenario file kind");
}

RouteModel load_scenario(const RunFiles& files) {
  RouteModel model;
  std::error_code ignored;
  if (std::filesystem::exists(files.line_geometry, ignored)) {
    model.trace = decode_file(files.line_geometry, bytes_of(files.line_geometry), decode_line_geometry);
  }
  model.entries = decode_file(files.entry_table, bytes_of(files.entry_table), decode_entry_table);
  model.cells = decode_file(files.cell_grid, bytes_of(files.cell_grid), decode_cell_grid);
  model.scenario_name = model.entries[kScenarioRow].text;
  model.train_number = model.entries[kTrainRow].text;
  return model;
}

}  // namespace scenario
