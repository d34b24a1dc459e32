#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "format/scenario_format.h"
#include "model/route_model.h"
#include "reader/field_reader.h"

namespace scenario {

// Where a progressive system row was written: error 2 is found only after
// the train source, on the rows as ordered.
struct ProgressiveOrigin {
  ProgressiveSystem as_read;  // before ordering moves it and adjusts its offset
  ErrorSite at_start;         // the start field
  ErrorSite at_offset;
};

struct KeywordTest;

// A row of a general section, met on line: a second one replaces it.
struct RowSeen {
  const KeywordTest* test = nullptr;
  int line = 0;
};

// A slowdown, kept to be compared with the line speed once the speed limits
// are all read.
struct SlowdownSeen {
  int32_t x = 0;
  int32_t v = 0;  // km/h
  int32_t l = 0;  // m
  FieldSite speed_site;
};

// The record that put the object now in a cell: kept small, since a source
// may place hundreds of thousands, and made into a note only when a later
// record is refused there.
struct Placement {
  bool in_line_source = false;
  FieldSite at;                // the record's position field
  std::string_view what;       // "signal", "speed board": a name that outlives the reading
  int32_t position = 0;
};

// What lives only while one reading of the two sources runs.
struct ReaderState {
  // Line source.
  bool length_read = false;       // a length row has set up the grid
  ErrorSite route_length_row;     // the note of every position beyond the grid
  std::array<ProgressiveOrigin, 3> progressive_origins{};  // rows tre, due, uno
  int64_t gradient_fill = 0;      // next cell to receive a gradient
  int32_t previous_gradient = 0;  // per mille
  FieldSite gradient_site;        // where the previous gradient was written
  int64_t trace_position = 2;     // next trace point to compute
  int32_t next_board_slot = kBoardTop;
  // Train source.
  int32_t station_counter = kFirstStationRow;
  ErrorSite previous_station;  // the note of a station too close after it
  int64_t speed_fill = 0;
  int32_t previous_speed = 0;  // km/h
  FieldSite speed_site;
  std::unordered_map<int64_t, Placement> placements;  // by cell
  int64_t adhesion_fill = 0;
  int32_t previous_adhesion = 0;
  FieldSite adhesion_site;
  // What the sense warnings compare a record with.
  std::vector<RowSeen> rows_seen;
  std::vector<SlowdownSeen> slowdowns;
  int32_t last_timed_station = 0;  // row of the latest station with a time
  FieldSite last_timed_site;
};

// The final fills of gradients, speed limits and adhesion write the cell at
// their fill position at least once, then go on while the fill position is
// below this cell. They never write it: it and the two cells after it, the
// last three of the grid, keep 0 unless a fill position already stood there.
inline constexpr int64_t kFinalFillStopBeforeLastCell = 2;

inline int64_t final_fill_stop(const RouteModel& model) {
  return int64_t{model.last_cell} - kFinalFillStopBeforeLastCell;
}

}  // namespace scenario
