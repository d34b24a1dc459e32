#include "reader/train_source.h"

#include <array>
#include <string>
#include <string_view>

#include "format/scenario_format.h"
#include "model/numeric.h"
#include "model/run_files.h"
#include "model/windows1252.h"
#include "reader/fill_value.h"
#include "reader/out_of_range.h"
#include "reader/record_loop.h"
#include "reader/sense_warnings.h"
#include "reader/signals.h"
#include "reader/slowdowns.h"
#include "reader/stations.h"
#include "reader/warnings.h"

namespace scenario {
namespace {

constexpr std::array kProgressiveRows = {kProgressiveTreRow, kProgressiveDueRow, kProgressiveUnoRow};

int64_t cell_of(int64_t position) { return round_half_even(static_cast<double>(position) / kCellLength); }

std::string at(std::string_view what, int32_t position) {
  return std::string(what) + " at " + std::to_string(position) + " m";
}

// A record that places something needs its cell on the grid. A position a
// little before the origin still rounds to cell 0 and is placed there; one
// whose cell would lie before cell 0 is refused like one beyond the grid.
std::optional<Outcome> before_origin(Record& record, std::string_view what, const Number& position, int64_t cell) {
  if (cell >= 0) return std::nullopt;
  return refused(record, position.site, kPositionError,
                 at(what, position.value) + " lies before the route origin: its cell would be " + std::to_string(cell));
}

// Both checks of a record that places something in the cell of its
// position: the refusal of the first that fails.
std::optional<Outcome> unplaceable(Record& record, std::string_view what, const Number& position, int64_t cell) {
  if (auto beyond = beyond_grid(record, what, position)) return beyond;
  return before_origin(record, what, position, cell);
}

// The speed limits and the adhesion are run-length lists along the grid:
// each value holds from its record's cell up to the next record of its kind.
struct FillList {
  int64_t& position;  // first cell not yet given a value
  int32_t& previous;  // value of the latest record
  FieldSite& site;    // where that value was written
  uint8_t Cell::*field;
  uint8_t (*cell_value)(int32_t);
  FillRange range;
  int32_t step;  // values are stored in steps of this size
};

uint8_t adhesion_value(int32_t adhesion) { return narrow<uint8_t>(adhesion); }

FillList speed_list(ReaderState& state) {
  return {state.speed_fill,       state.previous_speed, state.speed_site,
          &Cell::speed_limit,     encode_speed_limit,   {"speed limit", "km/h", 0, kLargestCellValue * kSpeedStep},
          kSpeedStep};
}
FillList adhesion_list(ReaderState& state) {
  return {state.adhesion_fill, state.previous_adhesion, state.adhesion_site,
          &Cell::adhesion,     adhesion_value,          {"adhesion", "", 0, kLargestCellValue},
          1};
}

uint8_t previous_value(const FillList& list) {
  return encode_fill(list.cell_value, list.previous, list.site, list.range);
}

// Cells from the fill position up to the one before n take the previous
// value. Cells before the first record thus get 0; a record out of order
// writes no cell, and the fill position never moves backwards.
void fill_to(RouteModel& model, const FillList& list, int64_t n) {
  if (n <= list.position) return;
  const uint8_t value = previous_value(list);
  for (int64_t i = list.position; i < n; ++i) cell_at(model, i).*list.field = value;
  list.position = n;
}

// The latest value runs on towards the end of the grid, at least one cell
// and then up to the cell before final_fill_stop.
void fill_to_end(RouteModel& model, const FillList& list) {
  const uint8_t value = previous_value(list);
  do {
    cell_at(model, list.position).*list.field = value;
    ++list.position;
  } while (list.position < final_fill_stop(model));
}

// What a fill record drops or alters: a record not past the previous one
// leaves that one no cell; a position moves to its cell; a speed is stored
// in 5 km/h steps.
void warn_fill(Record& record, std::string_view what, const FillList& list, const Number& position,
               const Number& value) {
  const int64_t cell = cell_of(position.value);
  warn_moved_to_cell(record, what, position, cell, 0);
  if (list.site.line > 0 && cell <= list.position) {
    warn(record, position.site, "fill-not-past",
         std::string(what) + " at " + std::to_string(position.value) +
             " m is not past the previous one: the previous value is written to no further cell");
  }
  const int64_t stored = round_half_even(value.value / static_cast<double>(list.step)) * list.step;
  if (stored != value.value) {
    warn(record, value.site, "speed-rounded",
         std::string(what) + " " + std::to_string(value.value) + " " + std::string(list.range.unit) + " is stored as " +
             std::to_string(stored) + " " + std::string(list.range.unit) + ", in steps of " +
             std::to_string(list.step));
  }
}

Outcome read_fill(Record& record, std::string_view what, const FillList& list) {
  const Number position = read_sited(record);
  const Number value = read_sited(record);
  if (auto beyond = beyond_grid(record, what, position)) return *beyond;
  warn_fill(record, what, list, position, value);
  fill_to(record.model, list, cell_of(position.value));
  list.previous = value.value;
  list.site = value.site;
  return {};
}

Outcome read_speed_limit(Record& record) { return read_fill(record, "speed limit", speed_list(record.state)); }
Outcome read_adhesion(Record& record) { return read_fill(record, "adhesion", adhesion_list(record.state)); }

Outcome read_braked_mass(Record& record) {
  record.model.entries[kTotalsRow].long1 = record.reader.read_number();
  warn_repeated_row(record);
  return {};
}

Outcome read_coaches(Record& record) {
  record.model.entries[kTotalsRow].long3 = record.reader.read_number();
  warn_repeated_row(record);
  return {};
}

Outcome read_clock(Record& record) {
  Entry& train = record.model.entries[kTrainRow];
  std::array<Number, 3> time;
  for (auto [at, field] : {std::pair{&time[0], &Entry::short3}, {&time[1], &Entry::short4}, {&time[2], &Entry::short5}}) {
    *at = read_sited(record);
    train.*field = narrow<int16_t>(at->value);
  }
  warn_late_time(record, time[0].site, "start clock",
                 int64_t{train.short3} * kSecondsPerHour + int64_t{train.short4} * kSecondsPerMinute + train.short5);
  warn_time_out_of_range(record, "start clock", "orologio", time, true);
  warn_repeated_row(record);
  return {};
}

Outcome read_sand(Record& record) {
  record.model.entries[kTrainRow].short1 = record.reader.read_number_as<int16_t>();
  warn_repeated_row(record);
  return {};
}

Outcome read_signal(Record& record) {
  std::array<Number, 11> numbers;
  for (Number& number : numbers) number = read_sited(record);
  const Number& posizione = numbers[0];
  SignalRecord signal{.posizione = posizione.value};
  size_t next = 1;
  for (int32_t* value : {&signal.sx, &signal.s1, &signal.s2, &signal.s3, &signal.rapp, &signal.dx, &signal.d1,
                         &signal.d2, &signal.d3, &signal.tempo}) {
    *value = numbers[next++].value;
  }
  if (auto refusal = unplaceable(record, "signal", posizione, signal_cell(posizione.value))) return *refusal;
  warn_placement(record, "signal", posizione, signal_cell(posizione.value));
  Verdict verdict = memo_segnale(record.model, signal);
  if (!verdict) {
    warn_signal_out_of_range(record, numbers);
    note_placement(record, signal_cell(posizione.value), "signal", posizione);
  }
  return placed(record, posizione.site, std::move(verdict));
}

Outcome read_slowdown(Record& record) {
  std::array<Number, 6> numbers;
  for (Number& number : numbers) number = read_sited(record);
  const auto& [x, v, l, f_tt, f_ta, d_v] = numbers;
  if (auto refusal = unplaceable(record, "slowdown", x, signal_cell(x.value))) return *refusal;
  warn_placement(record, "slowdown", x, signal_cell(x.value));
  const SlowdownRecord slowdown{
      .x = x.value, .v = v.value, .l = l.value, .f_tt = f_tt.value, .f_ta = f_ta.value, .d_v = d_v.value};
  Verdict verdict = memo_rallentamento(record.model, slowdown);
  if (!verdict) {
    warn_slowdown_out_of_range(record, numbers);
    note_slowdown(record, slowdown, v.site);
    for (const int64_t cell : slowdown_cells(slowdown).taken()) note_placement(record, cell, "slowdown", x);
  }
  // The end cell's troubles come from the length; the others from the start.
  const bool end_at_fault = verdict && (verdict->code == kEndCellTaken || verdict->code == kPositionError);
  return placed(record, end_at_fault ? l.site : x.site, std::move(verdict));
}

// A speed reduction point takes the cell p / 50, one before the cell a signal
// at the same position takes: kind 12 with its value, or kind 13 without one.
Verdict place_speed_reduction(RouteModel& model, int32_t position, int32_t value) {
  const int64_t n = cell_of(position);
  Cell& cell = cell_at(model, n);
  if (!is_free(cell)) {
    return refuse_taken(kReductionCellTaken, at("speed reduction point", position) + ": " + cell_taken(n, cell), n);
  }
  // The kind goes in first and the value after it, as the record lays the
  // point down: a value too wide for p1 fails with the kind in place.
  if (value >= 1) {
    cell.kind = kReductionValue;
    cell.p1 = narrow<int16_t>(value);
  } else {
    cell.kind = kReductionPlain;
  }
  return {};
}

Outcome read_speed_reduction(Record& record) {
  const Number position = read_sited(record);
  const int32_t value = record.reader.read_number();
  if (auto refusal = unplaceable(record, "speed reduction point", position, cell_of(position.value))) return *refusal;
  warn_moved_to_cell(record, "speed reduction point", position, cell_of(position.value), 0);
  warn_past_route_end(record, "speed reduction point", position);
  Verdict verdict = place_speed_reduction(record.model, position.value, value);
  if (!verdict) note_placement(record, cell_of(position.value), "speed reduction point", position);
  return placed(record, position.site, std::move(verdict));
}

Outcome read_station(Record& record) {
  const int32_t k = record.state.station_counter;
  Outcome outcome = memo_stazione(record);
  note_text(record, k, record.reader.site());  // the name, the last field read
  return outcome;
}

// The record kinds, in the order of their tests; letter case never counts.
constexpr std::array kTrainRecords = {
    KeywordTest{"frenata", "massa", KeywordTest::kAnyCase, read_braked_mass, {"braked mass", 1}},
    KeywordTest{"vetture", "", KeywordTest::kAnyCase, read_coaches, {"coaches", 1}},
    KeywordTest{"velocit", "", KeywordTest::kAnyCase, read_speed_limit, {"speed limit", 2}},
    KeywordTest{"aderenza", "", KeywordTest::kAnyCase, read_adhesion, {"adhesion", 2}},
    KeywordTest{"orologio", "", KeywordTest::kAnyCase, read_clock, {"clock", 3}},
    KeywordTest{"sabbia", "", KeywordTest::kAnyCase, read_sand, {"sand", 1}},
    KeywordTest{"segnale", "", KeywordTest::kAnyCase, read_signal, {"signal", 11}},
    KeywordTest{"rallentamento", "", KeywordTest::kAnyCase, read_slowdown, {"slowdown", 6}},
    KeywordTest{"abbattimento", "", KeywordTest::kAnyCase, read_speed_reduction, {"speed reduction point", 2}},
    KeywordTest{"stazione", "", KeywordTest::kAnyCase, read_station, {"station", 17, "values", true}},
};
static_assert(kTrainRecords.size() <= kMostRecordKinds);

Outcome read_train_record(Record& record) { return read_keywords(record, kTrainRecords); }

// Whether a slot holds the system of this row: ordering moves a system whole
// and only raises a falling system's offset.
bool holds(const Entry& slot, const ProgressiveOrigin& origin) {
  return origin.as_read.start == slot.long1 && origin.as_read.direction == slot.long3 &&
         origin.as_read.offset == decode_numbering_offset(slot.long3, slot.long2);
}

// The row of the line source that wrote a progressive system, found by the
// whole system (two rows may share a start); the file alone when none did.
ErrorSite progressive_site(const RouteModel& model, const ReaderState& state, const Entry& entry) {
  for (const ProgressiveOrigin& origin : state.progressive_origins) {
    if (origin.at_start.line == 0 || !holds(entry, origin)) continue;
    return entry.long1 % kCellLength == 0 ? origin.at_offset : origin.at_start;
  }
  ErrorSite site;
  site.file = run_files({}, model.scenario_name, model.train_number).line_source.filename().string();
  return site;
}

// The progressive systems of the line source must start and shift on whole
// cells. The check runs last and replaces an earlier 15.
std::optional<Refusal> uneven_progressive(const RouteModel& model, const ReaderState& state) {
  for (const int row : kProgressiveRows) {
    const Entry& entry = model.entries[static_cast<size_t>(row)];
    if (entry.long1 % kCellLength == 0 && entry.long2 % kCellLength == 0) continue;
    ErrorSite site = progressive_site(model, state, entry);
    const ProgressiveSystem system = get_progressive_system(entry);
    site.detail = "kilometric progressive system in row " + std::to_string(row) + " starts at " +
                  std::to_string(system.start) + " m with offset " +
                  std::to_string(decode_numbering_offset(system.direction, system.offset)) +
                  " m: both must be multiples of " + std::to_string(kCellLength) + " m";
    return Refusal{kUnevenProgressive, std::move(site)};
  }
  return std::nullopt;
}

// The end processing: the last speed limit and adhesion run on to the end of
// the grid, then the progressive systems are checked. A recovering reading
// goes on after a step that failed.
void read_train_end(RouteModel& model, const FieldReader& reader, ReaderContext& context) {
  for (const auto list : {speed_list, adhesion_list}) {
    const Flow flow = run_step(context, model, reader, [&] { fill_to_end(model, list(context.state)); });
    if (strict_stop(context, flow)) return;
  }
  if (auto refusal = uneven_progressive(model, context.state)) settle(context, model, std::move(*refusal));
  warn_slowdown_speeds(context, reader, model);
}

}  // namespace

// A source without "[generale]" gives no record: its records end at once.
void read_train_source(RouteModel& model, FieldReader& reader, ReaderContext& context) {
  if (!find_general_heading(context, reader)) {
    warn_file(context, reader, "no-general-heading",
              "the train source has no \"[generale]\" heading: none of its records is read");
  }
  const Flow flow = read_records(model, reader, context, Source::kTrain, kRecordComments, read_train_record);
  if (flow != Flow::kStop) read_train_end(model, reader, context);
}

std::span<const KeywordTest> train_records() { return kTrainRecords; }

}  // namespace scenario
