#include "inspect/scenario_file.h"

#include <string>
#include <system_error>

#include "format/cell_grid.h"
#include "format/decode_error.h"
#include "format/entry_table.h"
#include "format/line_geometry.h"
#include "format/scenario_format.h"
#include "inspect/scenario_json.h"
#include "io/read_file.h"
#include "io/run_lock.h"

namespace scenario {
namespace {

using nlohmann::ordered_json;

// Each kind is read up to the largest file of its kind.
SizeCap size_cap(ScenarioFileKind kind) {
  switch (kind) {
    case ScenarioFileKind::kLineGeometry: return {kLargestLineGeometry, "the largest line geometry file"};
    case ScenarioFileKind::kEntryTable: return {kLargestEntryTable, "the largest entry table"};
    case ScenarioFileKind::kCellGrid: return {kLargestCellGrid, "the largest cell grid"};
  }
  throw std::logic_error("unknown scenario file kind");
}

FileBytes bytes_of(const std::filesystem::path& path, ScenarioFileKind kind) {
  try {
    return read_file(path, size_cap(kind));
  } catch (const std::system_error& e) {
    throw ScenarioFileError(e.what());
  }
}

// A file of a set that a stopped run left between two sets is read once the
// switch is finished, never from a mix of the two.
void settle(const std::filesystem::path& path) {
  try {
    settle_pending_switch(path.parent_path());
  } catch (const std::runtime_error& e) {
    throw ScenarioFileError(e.what());
  }
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

ScenarioFileContents decode_contents(const std::filesystem::path& path, ScenarioFileKind kind, FileBytes bytes) {
  switch (kind) {
    case ScenarioFileKind::kLineGeometry: {
      const GeometryHalves halves = decode_file(path, bytes, check_line_geometry);
      return CheckedGeometry{std::move(bytes), halves};
    }
    case ScenarioFileKind::kEntryTable: return decode_file(path, bytes, decode_entry_table);
    case ScenarioFileKind::kCellGrid: return decode_file(path, bytes, decode_cell_grid);
  }
  throw std::logic_error("unknown scenario file kind");
}

JsonMembers contents_members(const ScenarioFileContents& contents, bool all) {
  if (const auto* geometry = std::get_if<CheckedGeometry>(&contents)) {
    return line_geometry_members(geometry->halves, all);
  }
  if (const auto* cells = std::get_if<Cells>(&contents)) return cell_grid_members(*cells, all);
  return entry_table_members(std::get<std::array<Entry, kEntryCount>>(contents));
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

DecodedFile decode_scenario_file(const std::filesystem::path& path) {
  const ScenarioFileKind kind = kind_of(path);
  settle(path);
  FileBytes bytes = bytes_of(path, kind);
  const size_t size = bytes.view().size();
  return DecodedFile{path, kind, size, decode_contents(path, kind, std::move(bytes))};
}

JsonMembers inspect_members(const DecodedFile& file, bool all) {
  JsonMembers members{{"file", file.path.string()}, {"format", format_name(file.kind)}, {"bytes", file.bytes}};
  for (JsonMember& member : contents_members(file.contents, all)) members.push_back(std::move(member));
  return members;
}

ordered_json inspect_scenario_file(const std::filesystem::path& path, bool all) {
  const DecodedFile file = decode_scenario_file(path);
  return to_json(inspect_members(file, all));
}

ScenarioFileContents read_scenario_file(const std::filesystem::path& path) {
  return std::move(decode_scenario_file(path).contents);
}

RouteModel load_scenario(const RunFiles& files) {
  settle(files.entry_table);
  RouteModel model;
  if (!file_missing(files.line_geometry)) {
    model.trace = decode_file(files.line_geometry, bytes_of(files.line_geometry, ScenarioFileKind::kLineGeometry), decode_line_geometry);
  }
  model.entries = decode_file(files.entry_table, bytes_of(files.entry_table, ScenarioFileKind::kEntryTable), decode_entry_table);
  model.cells = decode_file(files.cell_grid, bytes_of(files.cell_grid, ScenarioFileKind::kCellGrid), decode_cell_grid);
  model.scenario_name = model.entries[kScenarioRow].text;
  model.train_number = model.entries[kTrainRow].text;
  return model;
}

}  // namespace scenario
