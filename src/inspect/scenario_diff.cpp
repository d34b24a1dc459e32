#include "inspect/scenario_diff.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <variant>

#include "format/scenario_format.h"
#include "inspect/scenario_file.h"
#include "inspect/scenario_json.h"

namespace scenario {
namespace {

using nlohmann::ordered_json;

constexpr std::string_view kArrow = " \u2192 ";

// A JSON value as an author reads it: texts bare, objects as "key value"
// pairs ("from 14250 to 14550"), null as "none".
std::string value_text(const ordered_json& value) {
  if (value.is_string()) return value.get<std::string>();
  if (value.is_null()) return "none";
  if (!value.is_object()) return value.dump();
  std::string text;
  for (const auto& [key, item] : value.items()) text += (text.empty() ? "" : " ") + key + " " + value_text(item);
  return text;
}

std::string underscores_to_spaces(std::string text) {
  std::replace(text.begin(), text.end(), '_', ' ');
  return text;
}

// "name a → b" for every field of `a` that differs in `b`, except `skipped`.
std::vector<std::string> field_changes(const ordered_json& a, const ordered_json& b,
                                       std::initializer_list<std::string_view> skipped) {
  std::vector<std::string> changes;
  for (const auto& [key, value] : a.items()) {
    if (std::find(skipped.begin(), skipped.end(), key) != skipped.end()) continue;
    const ordered_json other = b.contains(key) ? b[key] : ordered_json();
    if (value != other) changes.push_back(key + " " + value_text(value) + std::string(kArrow) + value_text(other));
  }
  return changes;
}

std::string joined(const std::vector<std::string>& parts) {
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : ", ") + part;
  return text;
}

// ---- Cells ----

// A cell by its number and the position its object's record names (the
// first file's object, or the second's where the first holds none).
std::string cell_label(size_t i, const ordered_json& a, const ordered_json& b) {
  const ordered_json& object = a["kind"] == kNothing ? b : a;
  return "cell " + std::to_string(i) + " at " + std::to_string(object["position_m"].get<int64_t>()) + " m";
}

// The object of a cell: its kind, then its decoded fields (or, for kinds
// without them, the raw parameters).
void diff_object(size_t i, const ordered_json& a, const ordered_json& b, std::vector<std::string>& lines) {
  const std::string kind = underscores_to_spaces(a["kind_name"].get<std::string>());
  if (a["kind"] != b["kind"]) {
    lines.push_back(cell_label(i, a, b) + ": " + kind + std::string(kArrow) +
                    underscores_to_spaces(b["kind_name"].get<std::string>()));
    return;
  }
  std::vector<std::string> changes = a.contains("decoded")
                                         ? field_changes(a["decoded"], b["decoded"], {})
                                         : field_changes(a, b,
                                                         {"cell", "position_m", "kind", "kind_name", "approach",
                                                          "tunnel", "speed_limit", "speed_limit_kmh", "gradient",
                                                          "gradient_permille", "adhesion"});
  if (!changes.empty()) lines.push_back(cell_label(i, a, b) + ": " + kind + ": " + joined(changes));
  if (a["approach"] != b["approach"]) {
    lines.push_back(cell_label(i, a, b) + ": approach " + value_text(a["approach"]) + std::string(kArrow) +
                    value_text(b["approach"]));
  }
}

// A value of the track that holds over stretches of cells.
struct TrackField {
  const char* key;
  const char* name;
  const char* unit;
};
constexpr TrackField kTrackFields[] = {
    {"speed_limit_kmh", "speed limit", " km/h"},
    {"gradient_permille", "gradient", " \u2030"},
    {"tunnel", "tunnel kind", ""},
    {"adhesion", "adhesion", ""},
};

std::string stretch_label(size_t first, size_t last) {
  const auto from = track_position(static_cast<int64_t>(first));
  const auto to = track_position(static_cast<int64_t>(last) + 1);
  const std::string metres = std::to_string(from) + " to " + std::to_string(to) + " m";
  if (first == last) return "cell " + std::to_string(first) + " (" + metres + ")";
  return "cells " + std::to_string(first) + " to " + std::to_string(last) + " (" + metres + ")";
}

// Consecutive cells with the same change make one line.
void diff_track(const TrackField& field, const ordered_json& a, const ordered_json& b,
                std::vector<std::string>& lines) {
  const size_t count = std::min(a.size(), b.size());
  size_t i = 0;
  while (i < count) {
    const ordered_json& from = a[i][field.key];
    const ordered_json& to = b[i][field.key];
    size_t last = i;
    while (last + 1 < count && a[last + 1][field.key] == from && b[last + 1][field.key] == to) ++last;
    if (from != to) {
      lines.push_back(stretch_label(i, last) + ": " + field.name + " " + value_text(from) + std::string(kArrow) +
                      value_text(to) + field.unit);
    }
    i = last + 1;
  }
}

// ---- Entry rows ----

// "station PIEVE SALINA", "board text (SOTTOVIA)", "free"
std::string row_subject(const ordered_json& row) {
  const std::string role = value_text(row["role"]);
  std::string subject = underscores_to_spaces(role);
  if (role == "station" || role == "board_text") subject += " " + value_text(row["text"]);
  return subject;
}

std::string row_label(const ordered_json& row) { return "row " + value_text(row["row"]) + " " + row_subject(row); }

std::string point_text(const Trace& trace, size_t m) {
  const auto coordinate = [](const TraceValue& value) {
    if (value.tag == TraceValue::kEmpty) return std::string("empty");
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", value.value);
    return std::string(text);
  };
  return "(" + coordinate(trace.x[m]) + ", " + coordinate(trace.y[m]) + ")";
}

}  // namespace

std::vector<std::string> diff_cell_grids(const std::vector<Cell>& a, const std::vector<Cell>& b) {
  std::vector<std::string> lines;
  if (a.size() != b.size()) {
    lines.push_back("cells: " + std::to_string(a.size()) + std::string(kArrow) + std::to_string(b.size()));
  }
  const ordered_json cells_a = cell_grid_json(a, true)["cells"];
  const ordered_json cells_b = cell_grid_json(b, true)["cells"];
  for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) diff_object(i, cells_a[i], cells_b[i], lines);
  for (const TrackField& field : kTrackFields) diff_track(field, cells_a, cells_b, lines);
  return lines;
}

std::vector<std::string> diff_entry_tables(const std::array<Entry, kEntryCount>& a,
                                           const std::array<Entry, kEntryCount>& b) {
  std::vector<std::string> lines;
  const ordered_json rows_a = entry_table_json(a)["entries"];
  const ordered_json rows_b = entry_table_json(b)["entries"];
  for (size_t row = 0; row < rows_a.size(); ++row) {
    const ordered_json& from = rows_a[row];
    const ordered_json& to = rows_b[row];
    if (from["role"] != to["role"]) {
      lines.push_back(row_label(from) + std::string(kArrow) + row_subject(to));
      continue;
    }
    // A station's position, extent and time stand for long1 to long4.
    const std::vector<std::string> changes =
        from.contains("time") ? field_changes(from, to, {"row", "offset", "role", "long1", "long2", "long3", "long4"})
                              : field_changes(from, to, {"row", "offset", "role"});
    if (!changes.empty()) lines.push_back(row_label(from) + ": " + joined(changes));
  }
  return lines;
}

std::vector<std::string> diff_line_geometries(const Trace& a, const Trace& b) {
  std::vector<std::string> lines;
  const size_t count_a = std::min(a.x.size(), a.y.size());
  const size_t count_b = std::min(b.x.size(), b.y.size());
  if (count_a != count_b) {
    lines.push_back("points: " + std::to_string(count_a) + std::string(kArrow) + std::to_string(count_b));
  }
  const size_t common = std::min(count_a, count_b);
  size_t differing = 0;
  std::optional<size_t> first;
  for (size_t m = 0; m < common; ++m) {
    if (a.x[m] == b.x[m] && a.y[m] == b.y[m]) continue;
    ++differing;
    if (!first) first = m;
  }
  if (first) {
    lines.push_back(std::to_string(differing) + " of " + std::to_string(common) + " points differ, the first at " +
                    std::to_string(*first) + " m: " + point_text(a, *first) + std::string(kArrow) +
                    point_text(b, *first));
  }
  return lines;
}

std::vector<std::string> diff_scenario_files(const std::filesystem::path& a, const std::filesystem::path& b) {
  const ScenarioFileContents contents_a = read_scenario_file(a);
  const ScenarioFileContents contents_b = read_scenario_file(b);
  if (contents_a.index() != contents_b.index()) {
    throw ScenarioFileError(a.string() + " and " + b.string() + " are not the same kind of scenario file");
  }
  if (const auto* trace = std::get_if<Trace>(&contents_a)) {
    return diff_line_geometries(*trace, std::get<Trace>(contents_b));
  }
  if (const auto* table = std::get_if<std::array<Entry, kEntryCount>>(&contents_a)) {
    return diff_entry_tables(*table, std::get<std::array<Entry, kEntryCount>>(contents_b));
  }
  return diff_cell_grids(std::get<std::vector<Cell>>(contents_a), std::get<std::vector<Cell>>(contents_b));
}

}  // namespace scenario
