#include "inspect/scenario_json.h"

#include <string>

#include "format/cell_kinds.h"
#include "format/scenario_format.h"
#include "inspect/author_units.h"
#include "inspect/entry_roles.h"
#include "inspect/trace_summary.h"
#include "model/windows1252.h"

namespace scenario {
namespace {

using nlohmann::ordered_json;

ordered_json box_json(const std::optional<PlanBox>& box) {
  if (!box) return nullptr;
  return ordered_json{{"min_x", box->min_x}, {"min_y", box->min_y}, {"max_x", box->max_x}, {"max_y", box->max_y}};
}

ordered_json value_json(const TraceValue& value) {
  switch (value.tag) {
    case TraceValue::kInt16: return static_cast<int>(value.value);
    case TraceValue::kDouble: return value.value;
    case TraceValue::kEmpty: break;
  }
  return nullptr;
}

ordered_json values_json(const std::vector<TraceValue>& values) {
  ordered_json list = ordered_json::array();
  for (const TraceValue& value : values) list.push_back(value_json(value));
  return list;
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

// The raw fields in file order, each stored number followed by what it means.
ordered_json cell_json(const std::vector<Cell>& cells, size_t index) {
  const Cell& cell = cells[index];
  ordered_json json{
      {"cell", index},
      {"position_m", object_position(static_cast<int64_t>(index))},
      {"kind", cell.kind},
      {"kind_name", cell_kind_name(cell.kind).value_or("unknown")},
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

}  // namespace

ordered_json line_geometry_json(const Trace& trace, bool all) {
  const TraceSummary summary = summarize_trace(trace);
  ordered_json json{
      {"points", summary.points},
      {"values",
       {{"empty", summary.empty_values}, {"int16", summary.integer_values}, {"double", summary.double_values}}},
      {"defined_points", summary.defined_points},
      {"bounding_box", box_json(summary.box)},
      {"length", summary.length},
  };
  if (all) {
    json["x"] = values_json(trace.x);
    json["y"] = values_json(trace.y);
  }
  return json;
}

ordered_json entry_table_json(const std::array<Entry, kEntryCount>& entries) {
  ordered_json rows = ordered_json::array();
  size_t offset = 0;
  for (int row = 0; row < kEntryCount; ++row) {
    const Entry& entry = entries[static_cast<size_t>(row)];
    ordered_json json = entry_json(row, offset, entry);
    if (entry_role(row, entry) == EntryRole::kStation) add_station_units(json, entry);
    rows.push_back(std::move(json));
    offset += entry_bytes(entry);
  }
  return ordered_json{{"rows", kEntryCount}, {"entries", std::move(rows)}};
}

ordered_json cell_grid_json(const std::vector<Cell>& cells, bool all) {
  ordered_json listed = ordered_json::array();
  for (size_t i = 0; i < cells.size(); ++i) {
    if (all || holds_something(cells[i])) listed.push_back(cell_json(cells, i));
  }
  return ordered_json{
      {"cell_count", cells.size()}, {"listed", all ? "all" : "holding_something"}, {"cells", std::move(listed)}};
}

}  // namespace scenario
