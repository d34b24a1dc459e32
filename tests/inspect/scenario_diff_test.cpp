#include "inspect/scenario_diff.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace scenario {
namespace {

using Lines = std::vector<std::string>;

// Eight cells at 100 km/h, level, with one signal written at 200 m.
Cells track_with_a_signal() {
  Cells cells(8, Cell{.speed_limit = 20, .gradient = 100});
  cells[5] = Cell{.kind = kSignal, .p1 = 42, .p4 = 8, .speed_limit = 20, .gradient = 100};
  return cells;
}

TEST(CellGridDiff, EachChangeIsOneLineInMetresAndRecordFields) {
  struct Case {
    const char* what;
    void (*change)(Cells&);
    Lines expected;
  };
  const Case cases[] = {
      {"same", [](Cells&) {}, {}},
      {"signal removed", [](Cells& c) { c[5].kind = kNothing; },
       {"cell 5 at 200 m: signal \u2192 nothing"}},
      {"aspect changed", [](Cells& c) { c[5].p1 = 32; }, {"cell 5 at 200 m: signal: s1 4 \u2192 3"}},
      {"approach mark", [](Cells& c) { c[3].approach = 81; }, {"cell 3 at 100 m: approach 0 \u2192 81"}},
      {"speed over a stretch",
       [](Cells& c) {
         for (int i = 2; i <= 4; ++i) c[static_cast<size_t>(i)].speed_limit = 22;
       },
       {"cells 2 to 4 (100 to 250 m): speed limit 100 \u2192 110 km/h"}},
      {"speed reduction point added",
       [](Cells& c) {
         c[4].kind = kReductionValue;
         c[4].p1 = 80;
       },
       {"cell 4 at 200 m: nothing \u2192 speed reduction with value"}},
      {"gradient in one cell", [](Cells& c) { c[7].gradient = 97; },
       {"cell 7 (350 to 400 m): gradient 0 \u2192 -3 \u2030"}},
  };
  for (const Case& c : cases) {
    Cells changed = track_with_a_signal();
    c.change(changed);
    EXPECT_EQ(diff_cell_grids(track_with_a_signal(), changed), c.expected) << c.what;
  }
}

TEST(CellGridDiff, DifferentLengthsSayTheCountsAndCompareTheCommonCells) {
  Cells longer = track_with_a_signal();
  longer.resize(10);
  EXPECT_EQ(diff_cell_grids(track_with_a_signal(), longer), Lines{"cells: 8 \u2192 10"});
}

// A slowdown's start cell stays the same when only its end moves, yet its
// length changes with it.
TEST(CellGridDiff, AMovedSlowdownEndChangesTheLengthOfItsStart) {
  const auto with_slowdown_ending_in = [](size_t end) {
    Cells cells(8, Cell{.speed_limit = 20, .gradient = 100});
    cells[2] = Cell{.kind = kSlowdownStart, .p1 = 60, .p3 = 1, .speed_limit = 20, .gradient = 100};
    cells[end] = Cell{.kind = kSlowdownEnd, .p1 = 60, .p3 = 1, .speed_limit = 20, .gradient = 100};
    return cells;
  };
  EXPECT_EQ(diff_cell_grids(with_slowdown_ending_in(4), with_slowdown_ending_in(6)),
            (Lines{"cell 2 at 50 m: slowdown start: length_m 100 \u2192 200",
                   "cell 4 at 150 m: slowdown end \u2192 nothing", "cell 6 at 250 m: nothing \u2192 slowdown end"}));
}

std::array<Entry, kEntryCount> two_stations() {
  std::array<Entry, kEntryCount> entries{};
  entries[1] = Entry{.kind = 11, .long1 = -300, .long2 = 300, .text = "DORVALLO", .long4 = 39420};
  entries[2] = Entry{.kind = 21, .long1 = 14250, .long2 = 14550, .long3 = 14400, .text = "PIEVE SALINA",
                     .long4 = 40140};
  entries[80].text = "(SOTTOVIA)";
  return entries;
}

TEST(EntryTableDiff, StationsAreNamedAndTheirTimesShownAsClockTimes) {
  struct Case {
    const char* what;
    void (*change)(std::array<Entry, kEntryCount>&);
    Lines expected;
  };
  const Case cases[] = {
      {"same", [](std::array<Entry, kEntryCount>&) {}, {}},
      {"time", [](std::array<Entry, kEntryCount>& e) { e[2].long4 += 60; },
       {"row 2 station PIEVE SALINA: time 11:09:00 \u2192 11:10:00"}},
      {"moved", [](std::array<Entry, kEntryCount>& e) { e[2].long3 += 100, e[2].long1 += 100, e[2].long2 += 100; },
       {"row 2 station PIEVE SALINA: position_m 14400 \u2192 14500, "
        "extent_m from 14250 to 14550 \u2192 from 14350 to 14650"}},
      // A longer name shifts every later row's offset: no line for that.
      {"renamed", [](std::array<Entry, kEntryCount>& e) { e[1].text = "DORVALLO CENTRALE"; },
       {"row 1 station DORVALLO: text DORVALLO \u2192 DORVALLO CENTRALE"}},
      {"board gone", [](std::array<Entry, kEntryCount>& e) { e[80].text.clear(); },
       {"row 80 board text (SOTTOVIA) \u2192 free"}},
  };
  for (const Case& c : cases) {
    std::array<Entry, kEntryCount> changed = two_stations();
    c.change(changed);
    EXPECT_EQ(diff_entry_tables(two_stations(), changed), c.expected) << c.what;
  }
}

TEST(LineGeometryDiff, CountsTheDifferingPointsAndShowsTheFirst) {
  Trace a;
  a.x = {{TraceValue::kInt16, 0}, {TraceValue::kInt16, 0}, {TraceValue::kDouble, 3}, {TraceValue::kDouble, 6}, {}};
  a.y = {{TraceValue::kInt16, 0}, {TraceValue::kInt16, 1}, {TraceValue::kDouble, 5}, {TraceValue::kDouble, 9}, {}};
  EXPECT_EQ(diff_line_geometries(a, a), Lines{});
  Trace b = a;
  b.x[2].value = 3.5;
  b.y[3].value = 9.25;
  EXPECT_EQ(diff_line_geometries(a, b), Lines{"2 of 5 points differ, the first at 2 m: (3, 5) \u2192 (3.5, 5)"});
  b.x.pop_back();
  b.y.pop_back();
  EXPECT_EQ(diff_line_geometries(a, b).front(), "points: 5 \u2192 4");
}

// The y half is read from its own start: a change in its very last value is
// a change of the last point.
TEST(LineGeometryDiff, TheLastValueOfTheYHalfIsTheLastPoint) {
  Trace a;
  a.x = {{TraceValue::kInt16, 0}, {TraceValue::kInt16, 0}, {TraceValue::kDouble, 3}, {TraceValue::kDouble, 6}};
  a.y = {{TraceValue::kInt16, 0}, {TraceValue::kInt16, 1}, {TraceValue::kDouble, 5}, {TraceValue::kDouble, 9}};
  Trace b = a;
  b.y.back().value = 9.5;
  EXPECT_EQ(diff_line_geometries(a, b), Lines{"1 of 4 points differ, the first at 3 m: (6, 9) \u2192 (6, 9.5)"});
}

}  // namespace
}  // namespace scenario
