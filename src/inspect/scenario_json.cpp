#include "inspect/scenario_json.h"

#include <algorithm>
#include <span>
#include <string>

#include "format/cell_kinds.h"
#include "format/scenario_format.h"
#include "inspect/author_units.h"
#include "inspect/entry_roles.h"
#include "format/line_geometry.h"
#include "inspect/trace_summary.h"
#include "model/windows1252.h"

namespace scenario {
namespace {

using nlohmann::ordered_json;

ordered_json box_json(const std::optional<PlanBox>& box) {
  if (!box) return nullptr;
  return ordered_json{{"min_x", box->min_x}, {"min_y", box->min_y}, {"max_x", box->max_x}, {"max_y", box->max_y}};
}

JsonNumber value_number(const TraceValue& value) {
  switch (value.tag) {
    case TraceValue::kInt16: return {JsonNumber::Kind::kInteger, static_cast<int64_t>(value.value), 0.0};
    case TraceValue::kDouble: return {JsonNumber::Kind::kDouble, 0, value.value};
    case TraceValue::kEmpty: break;
  }
  return {};
}

// A half of the file, read anew each time it is listed, a run of values at
// a time.
JsonNumbers values_list(std::string_view half, size_t count) {
  return {[half, count](const JsonNumberSink& put) {
    constexpr size_t kRun = 1024;
    std::array<JsonNumber, kRun> run;
    TraceValueReader values(half);
    for (size_t done = 0; done < count;) {
      const size_t length = std::min(kRun, count - done);
      for (size_t i = 0; i < length; ++i) run[i] = value_number(values.next());
      put(std::span<const JsonNumber>(run.data(), length));
      done += length;
    }
  }};
}

ordered_json entry_json(int row, size_t offset, const Entry& entry) {
  return ordered_json{
      {"row", row},
      {"offset", offset},
      {"role", entry_role_name(entry_role(row, entry))},
      {"kind", entry.kind},
      {"long1", entry.long1},
      {"long2", entry.long2},
      {"long3", entry.long3},
      {"flag", entry.flag},
      {"text", windows1252_to_utf8(entry.text)},
      {"short1", entry.short1},
      {"short2", entry.short2},
      {"short3", entry.short3},
      {"short4", entry.short4},
      {"short5", entry.short5},
      {"byte1", entry.byte1},
      {"byte2", entry.byte2},
      {"byte3", entry.byte3},
      {"byte4", entry.byte4},
      {"long4", entry.long4},
  };
}

// A station row in author terms, after its raw fields.
void add_station_units(ordered_json& json, const Entry& entry) {
  json["position_m"] = entry.long3;
  json["extent_m"] = ordered_json{{"from", entry.long1}, {"to", entry.long2}};
  json["time"] = time_of_day_text(entry.long4);
}

bool holds_something(const Cell& cell) {
  Cell object = cell;
  object.speed_limit = 0;
  object.gradient = 0;
  object.adhesion = 0;
  return object != Cell{};
}

ordered_json optional_json(const std::optional<int>& value) {
  if (!value) return nullptr;
  return *value;
}

}  // namespace

ordered_json cell_json(const Cells& cells, size_t index) {
  const Cell& cell = cells[index];
  ordered_json json{
      {"cell", index},
      {"position_m", recorded_position(static_cast<int64_t>(index), cell.kind)},
      {"kind", cell.kind},
      {"kind_name", cell_kind_name(cell.kind).value_or(CellKindName{"unknown", ""}).json},
      {"p1", cell.p1},
      {"p2", cell.p2},
      {"p3", cell.p3},
      {"p4", cell.p4},
      {"timer", cell.timer},
      {"approach", cell.approach},
      {"tunnel", cell.tunnel},
      {"speed_limit", cell.speed_limit},
      {"speed_limit_kmh", decode_speed_limit(cell.speed_limit)},
      {"gradient", cell.gradient},
      {"gradient_permille", optional_json(gradient_permille(cell))},
      {"adhesion", cell.adhesion},
  };
  ordered_json decoded = decoded_object(cells, index);
  if (!decoded.is_null()) json["decoded"] = std::move(decoded);
  return json;
}

ordered_json entry_row_json(const std::array<Entry, kEntryCount>& entries, size_t row) {
  size_t offset = 0;
  for (size_t before = 0; before < row; ++before) offset += entry_bytes(entries[before]);
  const Entry& entry = entries[row];
  ordered_json json = entry_json(static_cast<int>(row), offset, entry);
  if (entry_role(static_cast<int>(row), entry) == EntryRole::kStation) add_station_units(json, entry);
  return json;
}

JsonMembers line_geometry_members(const GeometryHalves& halves, bool all) {
  const TraceSummary summary = summarize_trace(halves);
  JsonMembers members{
      {"points", summary.points},
      {"values",
       ordered_json{
           {"empty", summary.empty_values}, {"int16", summary.integer_values}, {"double", summary.double_values}}},
      {"defined_points", summary.defined_points},
      {"bounding_box", box_json(summary.box)},
      {"length", summary.length},
  };
  if (all) {
    members.push_back({"x", values_list(halves.x, halves.points)});
    members.push_back({"y", values_list(halves.y, halves.points)});
  }
  return members;
}

ordered_json line_geometry_json(const Trace& trace, bool all) {
  const std::string bytes = encode_line_geometry(trace);
  return to_json(line_geometry_members(check_line_geometry(bytes), all));
}

JsonMembers entry_table_members(const std::array<Entry, kEntryCount>& entries) {
  const JsonList rows{entries.size(),
                      [&entries](size_t row) { return std::optional<ordered_json>(entry_row_json(entries, row)); }};
  return {{"rows", kEntryCount}, {"entries", rows}};
}

ordered_json entry_table_json(const std::array<Entry, kEntryCount>& entries) {
  return to_json(entry_table_members(entries));
}

JsonMembers cell_grid_members(const Cells& cells, bool all) {
  const JsonList listed{cells.size(), [&cells, all](size_t i) {
                          if (!all && !holds_something(cells[i])) return std::optional<ordered_json>();
                          return std::optional<ordered_json>(cell_json(cells, i));
                        }};
  return {{"cell_count", cells.size()}, {"listed", all ? "all" : "holding_something"}, {"cells", listed}};
}

ordered_json cell_grid_json(const Cells& cells, bool all) { return to_json(cell_grid_members(cells, all)); }

}  // namespace scenario
