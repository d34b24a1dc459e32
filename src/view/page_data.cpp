#include "view/page_data.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "format/cell_kinds.h"
#include "format/scenario_format.h"
#include "model/trace_walk.h"
#include "model/windows1252.h"
#include "reader/plan_trace.h"

namespace scenario::view {
namespace {

using Json = nlohmann::ordered_json;

// The overview plan keeps one point in this many metres: enough to see the
// line's shape, small enough for a route of 1000 km.
constexpr int64_t kPlanSampleStep = 100;
// A slowdown's end and warning board are looked for this many cells from
// its start.
constexpr int64_t kSlowdownReach = 1000;
constexpr int64_t kWarningBoardReach = 30;
constexpr int32_t kSecondsPerHour = 3600;
constexpr int32_t kSecondsPerMinute = 60;

std::string utf8(std::string_view bytes) { return windows1252_to_utf8(bytes); }

std::optional<int64_t> number_of(std::string_view text) {
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

bool is_kind(const KeptRecord& record, std::string_view keyword) {
  return record.schema != nullptr && record.schema->keyword == keyword;
}

// Where a record along the route stands: its first field in metres. The
// general rows stand nowhere.
std::optional<int64_t> record_position(const KeptRecord& record) {
  if (record.schema == nullptr || record.schema->section == Section::kGeneral) return std::nullopt;
  for (size_t i = 0; i < record.schema->fields.size() && i < record.fields.size(); ++i) {
    if (record.schema->fields[i].unit == "m") return number_of(record.fields[i]);
  }
  return std::nullopt;
}

// The record as the author wrote it: its place, its line, and each field by
// the schema's name for it.
Json record_json(const KeptRecord& record) {
  Json fields = Json::array();
  fields.push_back({{"name", "keyword"}, {"unit", ""}, {"value", utf8(record.token)}});
  for (size_t i = 0; i < record.fields.size(); ++i) {
    const bool named = record.schema != nullptr && i < record.schema->fields.size();
    const SchemaField* field = named ? &record.schema->fields[i] : nullptr;
    fields.push_back({{"name", field != nullptr ? std::string(field->name) : "field " + std::to_string(i + 1)},
                      {"unit", field != nullptr ? utf8(field->unit) : ""},
                      {"value", utf8(record.fields[i])},
                      {"meaning", field != nullptr ? std::string(field->meaning) : ""}});
  }
  return {{"file", record.file},
          {"line", record.keyword.line},
          {"record", record.schema != nullptr ? std::string(record.schema->name) : ""},
          {"text", utf8(record.line.text)},
          {"cut_before", record.line.first_column > 1},
          {"cut_after", record.line.cut_after},
          {"fields", fields}};
}

Json cell_json(int64_t index, const Cell& cell) {
  const std::optional<CellKindName> name = cell_kind_name(cell.kind);
  return {{"cell", index},       {"from_m", index * kCellLength},
          {"kind", cell.kind},   {"holds", name ? std::string(name->prose) : "kind " + std::to_string(cell.kind)},
          {"p1", cell.p1},       {"p2", cell.p2},
          {"p3", cell.p3},       {"p4", cell.p4},
          {"timer", cell.timer}, {"approach", cell.approach}};
}

std::string time_of_day(int32_t seconds) {
  const auto two = [](int32_t value) { return (value < 10 ? "0" : "") + std::to_string(value); };
  return two(seconds / kSecondsPerHour) + ":" + two(seconds / kSecondsPerMinute % kSecondsPerMinute) + ":" +
         two(seconds % kSecondsPerMinute);
}

Json entry_json(int32_t row, const Entry& entry) {
  return {{"row", row},           {"kind", entry.kind},     {"start_m", entry.long1},  {"end_m", entry.long2},
          {"position_m", entry.long3}, {"time", time_of_day(entry.long4)}, {"text", utf8(entry.text)},
          {"flag", entry.flag},   {"short1", entry.short1}, {"short2", entry.short2}, {"short3", entry.short3},
          {"short4", entry.short4}, {"short5", entry.short5}, {"byte1", entry.byte1}, {"byte2", entry.byte2},
          {"byte3", entry.byte3}, {"byte4", entry.byte4}};
}

// An object drawn on the page: its layer, its stretch, and what made it.
struct PageObject {
  std::string layer;
  int64_t from = 0;
  int64_t to = 0;
  std::string label;
  const KeptRecord* record = nullptr;
  Json stored = Json::object();
  bool automatic = false;  // added by the compiler, from no record
};

// Which kept record put the objects of each cell and stored each row's
// text: the last one that did, among the records of the scenario drawn.
struct Makers {
  std::unordered_map<int64_t, const KeptRecord*> by_cell;
  std::map<int32_t, const KeptRecord*> by_row;
};

Makers makers_of(const std::vector<KeptRecord>& records) {
  Makers makers;
  for (const KeptRecord& record : records) {
    if (!record.in_scenario) continue;
    for (const int64_t cell : record.cells) makers.by_cell[cell] = &record;
    if (record.row >= 0) makers.by_row[record.row] = &record;
  }
  return makers;
}

const KeptRecord* maker_of(const Makers& makers, int64_t cell) {
  const auto found = makers.by_cell.find(cell);
  return found == makers.by_cell.end() ? nullptr : found->second;
}

// A cell's object, at its record's position when a record made it.
PageObject cell_object(std::string layer, std::string label, int64_t index, const Cell& cell, const Makers& makers) {
  PageObject object{std::move(layer), index * kCellLength, index * kCellLength, std::move(label)};
  object.record = maker_of(makers, index);
  if (object.record != nullptr) {
    if (const std::optional<int64_t> at = record_position(*object.record)) object.from = object.to = *at;
  }
  object.stored = {{"cell", cell_json(index, cell)}};
  return object;
}

std::optional<int64_t> find_kind(const Cells& cells, int64_t from, int64_t step, int64_t reach,
                                 uint8_t kind) {
  for (int64_t i = from, n = 0; n < reach && i >= 0 && i < static_cast<int64_t>(cells.size()); i += step, ++n) {
    if (cells[static_cast<size_t>(i)].kind == kind) return i;
  }
  return std::nullopt;
}

PageObject slowdown_object(const RouteModel& model, int64_t start, const Makers& makers) {
  const Cell& cell = model.cells[static_cast<size_t>(start)];
  PageObject object = cell_object("slowdown", "slowdown " + std::to_string(cell.p1) + " km/h", start, cell, makers);
  object.stored = {{"start", cell_json(start, cell)}};
  if (const auto end = find_kind(model.cells, start + 1, 1, kSlowdownReach, kSlowdownEnd)) {
    object.to = std::max(object.from, *end * kCellLength);
    object.stored["end"] = cell_json(*end, model.cells[static_cast<size_t>(*end)]);
  }
  if (const auto board = find_kind(model.cells, start - 1, -1, kWarningBoardReach, kWarningBoard)) {
    object.stored["warning_board"] = cell_json(*board, model.cells[static_cast<size_t>(*board)]);
  }
  return object;
}

// A speed reduction point the reader stored, or one the compiler's pass
// added (or capped) after reading.
PageObject reduction_object(const RouteModel& read, int64_t index, const Cell& cell, const Makers& makers) {
  const Cell& before = read.cells[static_cast<size_t>(index)];
  const bool added = before.kind != cell.kind;
  std::string label = cell.kind == kReductionValue ? "speed reduction point " + std::to_string(cell.p1) + " km/h"
                                                   : "speed reduction point";
  PageObject object = cell_object("reduction", added ? "automatic " + label : label, index, cell, makers);
  if (added) {
    object.record = nullptr;
    object.from = object.to = index * kCellLength;
    object.automatic = true;
    object.stored["compiler"] = "added by the compiler's pass over the cells, from no record";
  } else if (before.p1 != cell.p1) {
    object.stored["compiler"] = "value lowered by the compiler's pass from " + std::to_string(before.p1) + " to " +
                                std::to_string(cell.p1);
  }
  return object;
}

void add_cell_objects(const PageInput& input, const Makers& makers, std::vector<PageObject>& objects) {
  const RouteModel& model = input.sealed;
  for (size_t i = 0; i < model.cells.size(); ++i) {
    const Cell& cell = model.cells[i];
    const auto index = static_cast<int64_t>(i);
    switch (cell.kind) {
      case kSignal:
        objects.push_back(cell_object("signal", "signal", index, cell, makers));
        break;
      case kSpeedBoard:
        objects.push_back(cell_object("board", "speed board", index, cell, makers));
        break;
      case kTextBoard: {
        const bool has_row = cell.p1 >= 0 && cell.p1 < kEntryCount;
        const std::string text = has_row ? utf8(model.entries[static_cast<size_t>(cell.p1)].text) : "";
        objects.push_back(cell_object("board", "indication board " + text, index, cell, makers));
        break;
      }
      case kSlowdownStart:
        objects.push_back(slowdown_object(model, index, makers));
        break;
      case kReductionValue:
      case kReductionPlain:
        if (i < input.read.cells.size()) objects.push_back(reduction_object(input.read, index, cell, makers));
        break;
      default:
        break;
    }
  }
}

void add_stations(const PageInput& input, const Makers& makers, std::vector<PageObject>& objects) {
  for (const auto& [row, record] : makers.by_row) {
    if (!is_kind(*record, "stazione")) continue;
    const Entry& entry = input.sealed.entries[static_cast<size_t>(row)];
    PageObject object{"station", entry.long1, std::max(entry.long1, entry.long2), utf8(entry.text), record};
    object.stored = {{"entry", entry_json(row, entry)}};
    if (entry.kind < kFirstTimingPointKind) {
      const int64_t stop = entry.long2 / kCellLength - 1;
      if (stop >= 0 && stop < static_cast<int64_t>(input.sealed.cells.size())) {
        object.stored["stop_cell"] = cell_json(stop, input.sealed.cells[static_cast<size_t>(stop)]);
      }
    }
    objects.push_back(std::move(object));
  }
}

// Tunnel n of the register, from the first record of the scenario that
// wrote its two ends and is not taken yet.
void add_tunnels(const PageInput& input, std::vector<PageObject>& objects) {
  const RouteModel& model = input.sealed;
  std::vector<bool> taken(input.report.records.size(), false);
  for (int32_t n = 1; n <= model.tunnel_count && n < kTunnelSlots; ++n) {
    const int32_t start = model.tunnel_start[static_cast<size_t>(n)];
    const int32_t end = model.tunnel_end[static_cast<size_t>(n)];
    PageObject object{"tunnel", start, std::max(start, end), "tunnel " + std::to_string(n)};
    for (size_t i = 0; i < input.report.records.size(); ++i) {
      const KeptRecord& record = input.report.records[i];
      if (taken[i] || !record.in_scenario || !is_kind(record, "montagna") || record.fields.size() < 2) continue;
      if (number_of(record.fields[0]) != start || number_of(record.fields[1]) != end) continue;
      taken[i] = true;
      object.record = &record;
      break;
    }
    const int64_t first_cell = start / kCellLength;
    const uint8_t tunnel_kind = first_cell >= 0 && first_cell < static_cast<int64_t>(model.cells.size())
                                    ? model.cells[static_cast<size_t>(first_cell)].tunnel
                                    : 0;
    object.stored = {{"register", n}, {"start_m", start}, {"end_m", end}, {"cell_tunnel_kind", tunnel_kind}};
    objects.push_back(std::move(object));
  }
}

// A curve bends the points start + 1 to start + length of the plan trace.
void add_curves(const PageInput& input, std::vector<PageObject>& objects) {
  const TraceRuns& runs = input.sealed.plan_trace.runs;
  for (const KeptRecord& record : input.report.records) {
    if (!record.in_scenario || !is_kind(record, "curva") || record.fields.size() < 2) continue;
    const std::optional<int64_t> start = number_of(record.fields[0]);
    const std::optional<int64_t> length = number_of(record.fields[1]);
    if (!start || !length) continue;
    const CurveKeyword keyword = read_curve_keyword(record.token);
    PageObject object{"curve", *start, *start + std::max<int64_t>(*length, 0),
                      "curve class " + std::to_string(keyword.curve_class) + (keyword.to_left ? " left" : " right"),
                      &record};
    const auto run = std::find_if(runs.begin(), runs.end(),
                                  [&](const TraceRun& r) { return r.first == *start + 1 && r.k != 0.0; });
    if (run != runs.end()) {
      object.stored = {{"trace_points", std::to_string(run->first) + " to " + std::to_string(run->last)},
                       {"turn_per_metre", run->k},
                       {"radius_m", std::lround(1.0 / std::fabs(run->k))},
                       {"left", keyword.to_left}};
    } else {
      object.stored = {{"trace", "no bend stored"}};
    }
    objects.push_back(std::move(object));
  }
}

// Each layer's objects in order along the route, named layer-1, layer-2 ...
Json objects_json(std::vector<PageObject> objects) {
  std::stable_sort(objects.begin(), objects.end(), [](const PageObject& a, const PageObject& b) {
    return std::pair(a.layer, a.from) < std::pair(b.layer, b.from);
  });
  std::map<std::string, int> counts;
  Json list = Json::array();
  for (const PageObject& object : objects) {
    list.push_back({{"id", object.layer + "-" + std::to_string(++counts[object.layer])},
                    {"layer", object.layer},
                    {"from_m", object.from},
                    {"to_m", object.to},
                    {"label", object.label},
                    {"automatic", object.automatic},
                    {"record", object.record != nullptr ? record_json(*object.record) : Json()},
                    {"stored", object.stored}});
  }
  return list;
}

// A value that holds over a stretch of cells, in metres.
Json runs_of(const Cells& cells, int (*value_of)(const Cell&)) {
  Json runs = Json::array();
  for (size_t i = 0; i < cells.size();) {
    size_t j = i + 1;
    const int value = value_of(cells[i]);
    while (j < cells.size() && value_of(cells[j]) == value) ++j;
    runs.push_back({static_cast<int64_t>(i) * kCellLength, static_cast<int64_t>(j) * kCellLength, value});
    i = j;
  }
  return runs;
}

Json plan_json(const PlanTrace& trace) {
  Json points = Json::array();
  int64_t m = 0;
  for_each_point(trace, [&](const TraceValue& x, const TraceValue& y) {
    if (m++ % kPlanSampleStep != 0 || x.tag == TraceValue::kEmpty) return;
    points.push_back({m - 1, std::lround(x.value), std::lround(y.value)});
  });
  return points;
}

// Where a diagnostic is pinned: the position of the record on its line.
std::optional<int64_t> diagnostic_position(const PageDiagnostic& diagnostic, const std::vector<KeptRecord>& records) {
  for (const KeptRecord& record : records) {
    if (record.file != diagnostic.file || record.keyword.line != diagnostic.line) continue;
    if (const std::optional<int64_t> at = record_position(record)) return at;
  }
  return std::nullopt;
}

Json diagnostics_json(const PageInput& input) {
  Json list = Json::array();
  for (const PageDiagnostic& diagnostic : input.diagnostics) {
    const std::optional<int64_t> at = diagnostic_position(diagnostic, input.report.records);
    list.push_back({{"severity", diagnostic.severity == Severity::kError ? "error" : "warning"},
                    {"file", diagnostic.file},
                    {"line", diagnostic.line},
                    {"at_m", at ? Json(*at) : Json()},
                    {"text", diagnostic.text}});
  }
  return list;
}

}  // namespace

nlohmann::ordered_json page_data(const PageInput& input) {
  const Makers makers = makers_of(input.report.records);
  std::vector<PageObject> objects;
  add_cell_objects(input, makers, objects);
  add_stations(input, makers, objects);
  add_tunnels(input, objects);
  add_curves(input, objects);
  const RouteModel& model = input.sealed;
  return {{"title", input.title},
          {"route",
           {{"length_m", model.entries[kTotalsRow].long2}, {"end_m", model.extended_length}}},
          {"gradients", runs_of(model.cells, [](const Cell& c) { return decode_gradient(c.gradient); })},
          {"speed_limits", runs_of(model.cells, [](const Cell& c) { return decode_speed_limit(c.speed_limit); })},
          {"plan", plan_json(model.plan_trace)},
          {"objects", objects_json(std::move(objects))},
          {"diagnostics", diagnostics_json(input)}};
}

}  // namespace scenario::view
