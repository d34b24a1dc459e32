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

// The next slowdown end after a cell, for cells asked about in grid order:
// the search only moves forward, so a whole grid costs one walk.
class SlowdownEnds {
 public:
  explicit SlowdownEnds(const Cells& cells) : cells_(cells) {}

  std::optional<size_t> after(size_t start) {
    if (next_ <= start) {
      next_ = start + 1;
      while (next_ < cells_.size() && cells_[next_].kind != kSlowdownEnd) ++next_;
    }
    if (next_ < cells_.size()) return next_;
    return std::nullopt;
  }

 private:
  const Cells& cells_;
  size_t next_ = 0;
};

// Whether diff_object would find nothing: the same object with the same
// approach mark, and a slowdown start as long (its length runs to the next
// slowdown end, wherever that lies). The track values are compared apart.
bool same_object(size_t i, const Cells& a, const Cells& b, SlowdownEnds& ends_a,
                 SlowdownEnds& ends_b) {
  const Cell& x = a[i];
  const Cell& y = b[i];
  if (x.kind != y.kind || x.p1 != y.p1 || x.p2 != y.p2 || x.p3 != y.p3 || x.p4 != y.p4 || x.timer != y.timer ||
      x.approach != y.approach) {
    return false;
  }
  return x.kind != kSlowdownStart || ends_a.after(i) == ends_b.after(i);
}

// A value of the track that holds over stretches of cells: the stored byte,
// and the key of the JSON value that shows it (one for one).
struct TrackField {
  uint8_t Cell::*stored;
  const char* key;
  const char* name;
  const char* unit;
};
constexpr TrackField kTrackFields[] = {
    {&Cell::speed_limit, "speed_limit_kmh", "speed limit", " km/h"},
    {&Cell::gradient, "gradient_permille", "gradient", " \u2030"},
    {&Cell::tunnel, "tunnel", "tunnel kind", ""},
    {&Cell::adhesion, "adhesion", "adhesion", ""},
};

std::string stretch_label(size_t first, size_t last) {
  const auto from = track_position(static_cast<int64_t>(first));
  const auto to = track_position(static_cast<int64_t>(last) + 1);
  const std::string metres = std::to_string(from) + " to " + std::to_string(to) + " m";
  if (first == last) return "cell " + std::to_string(first) + " (" + metres + ")";
  return "cells " + std::to_string(first) + " to " + std::to_string(last) + " (" + metres + ")";
}

// Consecutive cells with the same change make one line.
void diff_track(const TrackField& field, const Cells& a, const Cells& b,
                std::vector<std::string>& lines) {
  const size_t count = std::min(a.size(), b.size());
  size_t i = 0;
  while (i < count) {
    const uint8_t from = a[i].*field.stored;
    const uint8_t to = b[i].*field.stored;
    size_t last = i;
    while (last + 1 < count && a[last + 1].*field.stored == from && b[last + 1].*field.stored == to) ++last;
    if (from != to) {
      lines.push_back(stretch_label(i, last) + ": " + field.name + " " + value_text(cell_json(a, i)[field.key]) +
                      std::string(kArrow) + value_text(cell_json(b, i)[field.key]) + field.unit);
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

std::string coordinate_text(const TraceValue& value) {
  if (value.tag == TraceValue::kEmpty) return "empty";
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", double{value.value});
  return text;
}

// A point as both files hold it.
struct PointPair {
  TraceValue ax, ay, bx, by;
};

std::string point_text(const TraceValue& x, const TraceValue& y) {
  return "(" + coordinate_text(x) + ", " + coordinate_text(y) + ")";
}

}  // namespace

std::vector<std::string> diff_cell_grids(const Cells& a, const Cells& b) {
  std::vector<std::string> lines;
  if (a.size() != b.size()) {
    lines.push_back("cells: " + std::to_string(a.size()) + std::string(kArrow) + std::to_string(b.size()));
  }
  // Cells are compared as stored; only those that differ are described.
  SlowdownEnds ends_a(a);
  SlowdownEnds ends_b(b);
  for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
    if (!same_object(i, a, b, ends_a, ends_b)) diff_object(i, cell_json(a, i), cell_json(b, i), lines);
  }
  for (const TrackField& field : kTrackFields) diff_track(field, a, b, lines);
  return lines;
}

std::vector<std::string> diff_entry_tables(const std::array<Entry, kEntryCount>& a,
                                           const std::array<Entry, kEntryCount>& b) {
  std::vector<std::string> lines;
  for (size_t row = 0; row < a.size(); ++row) {
    // A row's role and fields are its own: the same bytes describe alike.
    if (a[row] == b[row]) continue;
    const ordered_json from = entry_row_json(a, row);
    const ordered_json to = entry_row_json(b, row);
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

std::vector<std::string> diff_line_geometries(const GeometryHalves& a, const GeometryHalves& b) {
  std::vector<std::string> lines;
  if (a.points != b.points) {
    lines.push_back("points: " + std::to_string(a.points) + std::string(kArrow) + std::to_string(b.points));
  }
  const size_t common = std::min(a.points, b.points);
  TraceValueReader ax(a.x);
  TraceValueReader ay(a.y);
  TraceValueReader bx(b.x);
  TraceValueReader by(b.y);
  size_t differing = 0;
  std::optional<size_t> first;
  PointPair first_pair;
  for (size_t m = 0; m < common; ++m) {
    const PointPair pair{ax.next(), ay.next(), bx.next(), by.next()};
    if (pair.ax == pair.bx && pair.ay == pair.by) continue;
    ++differing;
    if (!first) {
      first = m;
      first_pair = pair;
    }
  }
  if (first) {
    lines.push_back(std::to_string(differing) + " of " + std::to_string(common) + " points differ, the first at " +
                    std::to_string(*first) + " m: " + point_text(first_pair.ax, first_pair.ay) +
                    std::string(kArrow) + point_text(first_pair.bx, first_pair.by));
  }
  return lines;
}

std::vector<std::string> diff_line_geometries(const Trace& a, const Trace& b) {
  const std::string bytes_a = encode_line_geometry(a);
  const std::string bytes_b = encode_line_geometry(b);
  return diff_line_geometries(check_line_geometry(bytes_a), check_line_geometry(bytes_b));
}

std::vector<std::string> diff_scenario_files(const std::filesystem::path& a, const std::filesystem::path& b) {
  const ScenarioFileContents contents_a = read_scenario_file(a);
  const ScenarioFileContents contents_b = read_scenario_file(b);
  if (contents_a.index() != contents_b.index()) {
    throw ScenarioFileError(a.string() + " and " + b.string() + " are not the same kind of scenario file");
  }
  if (const auto* geometry = std::get_if<CheckedGeometry>(&contents_a)) {
    return diff_line_geometries(geometry->halves, std::get<CheckedGeometry>(contents_b).halves);
  }
  if (const auto* table = std::get_if<std::array<Entry, kEntryCount>>(&contents_a)) {
    return diff_entry_tables(*table, std::get<std::array<Entry, kEntryCount>>(contents_b));
  }
  return diff_cell_grids(std::get<Cells>(contents_a), std::get<Cells>(contents_b));
}

}  // namespace scenario
