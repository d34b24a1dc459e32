#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "memory/large_buffer.h"

namespace scenario {

// Rows of the general table.
inline constexpr int kEntryCount = 87;
inline constexpr int kFirstStationRow = 1;
inline constexpr int kBoardTop = 80;          // board texts fill rows 80, 79, 78 ...
inline constexpr int kProgressiveTreRow = 81;  // slot tre
inline constexpr int kProgressiveDueRow = 82;  // slot due
inline constexpr int kProgressiveUnoRow = 83;  // slot uno
inline constexpr int kTotalsRow = 84;
inline constexpr int kScenarioRow = 85;
inline constexpr int kTrainRow = 86;

// Station kinds below this one are stops: they get a stop mark and approach
// cells; from it on they are timing points.
inline constexpr uint8_t kFirstTimingPointKind = 25;

// Stations of kinds 5 and 6 end just past their position and get no
// approach cells; kinds 7 and 8 reach their full length on both sides.
inline bool station_ends_short(uint8_t kind) { return kind == 5 || kind == 6; }
inline bool station_reaches_both_ways(uint8_t kind) { return kind == 7 || kind == 8; }

// The reserved cell and the fixed marks stamped before the files are written.
inline constexpr int kReservedCell = 1;
inline constexpr int16_t kCellMark = 5121;
inline constexpr int16_t kScenarioMark = 610;

// Tunnel register: indices 0 to 80, index 0 never used.
inline constexpr int kTunnelSlots = 81;

// A route may be at most this long.
inline constexpr int32_t kMaxRouteLength = 1000000;

// The route runs on this far past its stated length.
inline constexpr int32_t kRunOut = 7000;
inline constexpr int32_t kCellLength = 50;

// A record that places something needs this much grid after its position;
// a station needs more.
inline constexpr int32_t kPositionMargin = 100;
inline constexpr int32_t kStationReach = 800;

// What a cell holds.
enum CellKind : uint8_t {
  kNothing = 0,
  kSignal = 1,
  kSlowdownEnd = 2,
  kSlowdownStart = 3,
  kWarningBoard = 4,
  kPreWarning = 5,
  kSpeedBoard = 6,
  kStationStop = 10,
  kTunnelMarker = 11,
  kReductionValue = 12,
  kReductionPlain = 13,
  kTextBoard = 14,
};

struct Cell {
  uint8_t kind = 0;
  int16_t p1 = 0;
  int16_t p2 = 0;
  int16_t p3 = 0;
  int16_t p4 = 0;
  uint8_t timer = 0;
  uint8_t approach = 0;
  uint8_t tunnel = 0;
  uint8_t speed_limit = 0;  // units of 5 km/h
  uint8_t gradient = 0;     // per mille plus 100
  uint8_t adhesion = 0;

  bool operator==(const Cell&) const = default;
};

// The cell grid: 50 m a cell, megabytes for a long route.
using Cells = std::vector<Cell, LargeBufferAllocator<Cell>>;

// Signals, boards, slowdown cells and speed reduction points go only on free
// cells; a tunnel marker is free and gets replaced.
inline bool is_free(const Cell& cell) { return cell.kind == kNothing || cell.kind == kTunnelMarker; }

struct Entry {
  uint8_t kind = 0;
  int32_t long1 = 0;
  int32_t long2 = 0;
  int32_t long3 = 0;
  uint8_t flag = 0;
  std::string text;  // Windows-1252 bytes as they are
  int16_t short1 = 0;
  int16_t short2 = 0;
  int16_t short3 = 0;
  int16_t short4 = 0;
  int16_t short5 = 0;
  uint8_t byte1 = 0;
  uint8_t byte2 = 0;
  uint8_t byte3 = 0;
  uint8_t byte4 = 0;
  int32_t long4 = 0;

  bool operator==(const Entry&) const = default;
};

// One element of the plan trace: empty, a 16-bit integer (the two seeds) or a
// double. The tag numbers are the ones the geometry file stores. Packed to 9
// bytes: a route of 1000 km holds two million of them.
struct [[gnu::packed]] TraceValue {
  enum Tag : uint8_t { kEmpty = 0, kInt16 = 2, kDouble = 5 };
  Tag tag = kEmpty;
  double value = 0.0;  // the integer itself for kInt16

  bool operator==(const TraceValue&) const = default;
};

// The values of one axis of a plan: megabytes for a long route.
using TraceValues = std::vector<TraceValue, LargeBufferAllocator<TraceValue>>;

// Point m of the plan is (x[m], y[m]), m = 0 to extended_length; all x values
// come before all y values in storage order. Every point stored, as a line
// geometry file holds them: what inspection and drawing decode.
struct Trace {
  TraceValues x;
  TraceValues y;

  bool operator==(const Trace&) const = default;
};

// A stretch of computed points first to last, each one step from the two
// before it, turned by k radians per metre (0 for a straight stretch).
struct TraceRun {
  int64_t first = 0;
  int64_t last = 0;
  double k = 0.0;

  bool operator==(const TraceRun&) const = default;
};

// Two runs a curve: thousands of them on a long route.
using TraceRuns = std::vector<TraceRun, LargeBufferAllocator<TraceRun>>;

// The plan trace as the reader builds it: its size, whether the two seed
// points are set, and the runs of computed points in order, without a gap
// from point 2 on. The points are walked again whenever they are needed
// (model/trace_walk.h), never stored: 1000 km of route are two million values.
struct PlanTrace {
  int64_t points = 0;  // points 0 to points - 1; none without a trace
  bool seeded = false;
  TraceRuns runs;

  bool operator==(const PlanTrace&) const = default;
};

// The scenario as the three binary files hold it, and the plan trace they
// are written from. Nothing of a reading lives here: the latest token, the
// error a reading records and its diagnostics belong to the reader.
struct RouteModel {
  std::string scenario_name;
  std::string train_number;
  int32_t write_trace = 0;
  int32_t extended_length = 0;
  int32_t last_cell = 0;
  int32_t tunnel_count = 0;

  Cells cells;  // 0 to last_cell once the length is read; empty before
  std::array<Entry, kEntryCount> entries{};
  PlanTrace plan_trace;  // built by the reader when write_trace is non-zero
  Trace trace;           // decoded from a line geometry file; a compilation leaves it empty
  std::array<int32_t, kTunnelSlots> tunnel_start{};
  std::array<int32_t, kTunnelSlots> tunnel_end{};

  bool operator==(const RouteModel&) const = default;
};

// Every numeric field 0 and every text empty, in all 87 rows.
void reset_entries(RouteModel& model);

// The cell at index i; an index outside the grid is a run-time failure.
Cell& cell_at(RouteModel& model, int64_t i);

}  // namespace scenario
