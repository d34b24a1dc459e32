#include "reader/stations.h"

#include <array>
#include <string>

#include "format/scenario_format.h"
#include "model/numeric.h"
#include "model/windows1252.h"
#include "reader/out_of_range.h"
#include "reader/record_loop.h"
#include "reader/sense_warnings.h"
#include "reader/warnings.h"

namespace scenario {
namespace {

constexpr int32_t kLengthUnit = 100;
constexpr int32_t kStationSpacing = 350;  // from one station's end to the next one's start
constexpr int32_t kLongStation = 600;     // byte4 is kept from this length on
constexpr int32_t kEndExtension = 50;     // byte3 moves the end this much further
constexpr int32_t kShortTail = 150;       // kinds 5 and 6 end this far past their position
constexpr int64_t kLowestStopCell = 2;    // cells 0 and 1 take no station marks
constexpr int kApproachCells = 4;
constexpr uint8_t kApproachBase = 80;  // approach codes 81 next to the stop to 84

struct Extent {
  int64_t start = 0;
  int64_t end = 0;
};

std::string where(const Entry& row) { return "station at " + std::to_string(row.long3) + " m"; }

// Values 4 to 16 and the name, in the order of the record; the scheduled
// time as read, for its warnings.
std::array<Number, 3> read_settings(Record& record, Entry& row) {
  FieldReader& reader = record.reader;
  row.flag = reader.read_number_as<uint8_t>();
  row.byte4 = reader.read_number_as<uint8_t>();
  row.byte3 = reader.read_number_as<uint8_t>();
  row.short1 = reader.read_number_as<int16_t>();
  row.short2 = reader.read_number_as<int16_t>();
  row.byte1 = reader.read_number_as<uint8_t>();
  row.short3 = reader.read_number_as<int16_t>();
  row.short4 = reader.read_number_as<int16_t>();
  row.short5 = reader.read_number_as<int16_t>();
  row.byte2 = reader.read_number_as<uint8_t>();
  std::array<Number, 3> time;
  for (Number& part : time) part = read_sited(record);
  row.long4 = encode_time_of_day(time[0].value, time[1].value, time[2].value);
  record.context.text_buffer = reader.read_text();
  row.text = record.context.text_buffer;
  return time;
}

// Lengths are whole hundreds, so halving them is exact. The end extension
// flag counts only for kinds that are centred on their position.
Extent station_extent(const Entry& row, int64_t length) {
  const int64_t position = row.long3;
  if (station_ends_short(row.kind)) return {position - length, position + kShortTail};
  if (station_reaches_both_ways(row.kind)) return {position - length, position + length};
  const int64_t extension = row.byte3 != 0 ? kEndExtension : 0;
  return {position - length / 2, position + length / 2 + extension};
}

// Marks the four approach cells and then the stop cell at the end of the
// extent, whatever they hold, except that a stop mark never erases the end of
// a slowdown: the compile pass needs an end after every slowdown start. A
// stop cell beyond the grid is a run-time failure when it is written, after
// the approach cells that lie on the grid.
std::optional<Outcome> mark_stop(Record& record, FieldSite position, int32_t k, const Extent& extent) {
  RouteModel& model = record.model;
  const Entry& row = model.entries[static_cast<size_t>(k)];
  const int64_t stop = extent.end / kCellLength - 1;  // the end is a whole number of cells
  if (stop < kLowestStopCell) {
    return refused(record, position, kStopCellUnusable,
                   where(row) + ": extent ends at " + std::to_string(extent.end) +
                       " m, which puts the stop mark in cell " + std::to_string(stop) + " (cells 0 and 1 take none)");
  }
  const bool on_grid = stop < static_cast<int64_t>(model.cells.size());
  if (on_grid && cell_at(model, stop).kind == kSlowdownEnd) {
    return refused(record, position, kStopCellUnusable, where(row) + ": stop " + cell_taken(stop, cell_at(model, stop)));
  }
  if (on_grid) {
    warn_displaced(record, position, row, stop);
    note_placement(record, stop, "station", Number{row.long3, position});
  }
  if (!station_ends_short(row.kind)) {
    for (int b = 1; b <= kApproachCells; ++b) {
      if (stop - b < kLowestStopCell) break;
      cell_at(model, stop - b).approach = static_cast<uint8_t>(kApproachBase + b);
    }
  }
  Cell& cell = cell_at(model, stop);
  cell.kind = kStationStop;
  cell.p1 = narrow<int16_t>(k);
  return std::nullopt;
}

// Stations and board texts share rows 1 to 80. The row of the next board
// slot is still free and takes a station before error 10; a row the board
// texts already hold (all 80 taken) is never written.
std::optional<Outcome> no_row(Record& record, int32_t k) {
  const int32_t slot = record.state.next_board_slot;
  if (k >= kFirstStationRow && k <= slot && k < kEntryCount) return std::nullopt;
  return refused(record, record.keyword, kTooManyStations,
                 "no row left for a station: the indication-board texts reach down to row " + std::to_string(slot + 1));
}

// Value 1, checked before anything more of the record is read: a station too
// near the end of the grid is refused with 15 even when the rest of its
// record would fail to read.
std::optional<Outcome> refuses_position(Record& record, const Entry& row, FieldSite position) {
  const RouteModel& model = record.model;
  if (row.long3 > last_position(model, kStationReach)) {
    return refused(record, position, kPositionError,
                   where(row) + " lies within " + std::to_string(kStationReach) + " m of the end of the grid (last cell " +
                       std::to_string(model.last_cell) + ", at " +
                       std::to_string(int64_t{kCellLength} * model.last_cell) + " m)");
  }
  if (row.long3 % kCellLength != 0) {
    return refused(record, position, kStationOffGrid,
                   where(row) + ": position is not a multiple of " + std::to_string(kCellLength) + " m");
  }
  return std::nullopt;
}

// Values 2 and 3: the kind, then the length, which must be whole hundreds.
std::optional<Outcome> read_kind_and_length(Record& record, Entry& row, int32_t& length) {
  row.kind = record.reader.read_number_as<uint8_t>();
  const Number read = read_sited(record);
  length = read.value;
  if (length % kLengthUnit == 0) return std::nullopt;
  return refused(record, read.site, kStationLengthUneven,
                 where(row) + ": length " + std::to_string(length) + " m is not a multiple of " +
                     std::to_string(kLengthUnit) + " m");
}

// Stores the extent and clears the settings that do not apply: the end
// extension of kinds that are not centred, byte4 of short stations, both of
// the first station (after its end has moved).
Extent store_extent(Entry& row, int32_t k, int64_t length) {
  const Extent extent = station_extent(row, length);
  row.long1 = narrow<int32_t>(extent.start);
  row.long2 = narrow<int32_t>(extent.end);
  if (station_ends_short(row.kind) || station_reaches_both_ways(row.kind)) row.byte3 = 0;
  if (length < kLongStation) row.byte4 = 0;
  if (k == kFirstStationRow) {
    row.byte3 = 0;
    row.byte4 = 0;
  }
  return extent;
}

std::optional<Outcome> too_close(Record& record, FieldSite position, int32_t k, const Extent& extent) {
  if (k == kFirstStationRow) return std::nullopt;
  const int32_t previous_end = record.model.entries[static_cast<size_t>(k - 1)].long2;
  if (extent.start - kStationSpacing >= previous_end) return std::nullopt;
  Outcome outcome = refused(record, position, kStationsTooClose,
                            where(record.model.entries[static_cast<size_t>(k)]) + " begins at " +
                                std::to_string(extent.start) + " m, less than " + std::to_string(kStationSpacing) +
                                " m after the station in row " + std::to_string(k - 1) + " ends at " +
                                std::to_string(previous_end) + " m");
  outcome.refusal->notes.push_back(record.state.previous_station);
  return outcome;
}

// What a station too close after this one is told: where this one is, and
// where it ends. Stations must come in route order.
ErrorSite station_note(const Record& record, FieldSite position, const Entry& row) {
  return site_of(record.reader, position,
                 "the station before, " + printable_utf8(row.text) + " at " + std::to_string(row.long3) +
                     " m, ends at " + std::to_string(row.long2) + " m: stations come in route order");
}

// The station is stored; the next row must still lie below the board texts.
Outcome advance_counter(Record& record, int32_t k) {
  record.state.station_counter = k + 1;
  if (record.state.station_counter < record.state.next_board_slot) return {};
  return refused(record, record.keyword, kTooManyStations,
                 where(record.model.entries[static_cast<size_t>(k)]) + " took row " + std::to_string(k) +
                     ", the last row stations may use below the indication-board texts");
}

}  // namespace

Outcome memo_stazione(Record& record) {
  const int32_t k = record.state.station_counter;
  if (auto refusal = no_row(record, k)) return *refusal;
  Entry& row = record.model.entries[static_cast<size_t>(k)];
  const Number position = read_sited(record);
  row.long3 = position.value;
  if (auto refusal = refuses_position(record, row, position.site)) return *refusal;
  int32_t length = 0;
  if (auto refusal = read_kind_and_length(record, row, length)) return *refusal;
  const std::array<Number, 3> time = read_settings(record, row);
  warn_late_time(record, position.site, "scheduled time", row.long4);
  warn_time_out_of_range(record, where(row), "stazione", time, false);
  warn_utf8_text(record, record.reader.site(), "station name", row.text);
  warn_past_route_end(record, "station", position);
  warn_text_cut(record, record.reader.site(), "station name", row.text);
  warn_time_order(record, k, time[0].site);
  const Extent extent = store_extent(row, k, length);
  if (row.kind < kFirstTimingPointKind) {
    if (auto refusal = mark_stop(record, position.site, k, extent)) return *refusal;
  }
  if (auto refusal = too_close(record, position.site, k, extent)) return *refusal;
  record.state.previous_station = station_note(record, position.site, row);
  return advance_counter(record, k);
}

}  // namespace scenario
