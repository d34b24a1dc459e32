#include "compile/post_pass.h"

#include <gtest/gtest.h>

#include <ostream>

namespace scenario {
namespace {

TEST(Minimo, GivesTheSmallerValue) {
  EXPECT_EQ(minimo(180, 200), 180);
  EXPECT_EQ(minimo(180, 150), 150);
  EXPECT_EQ(minimo(180, 180), 180);
  EXPECT_EQ(minimo(180, -5), -5);
}

// One cell's kind and p1, before or after the pass.
struct Placed {
  int64_t cell;
  uint8_t kind;
  int16_t p1 = 0;
  bool operator==(const Placed&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Placed& placed) {
  return out << "cell " << placed.cell << " kind " << int{placed.kind} << " p1 " << placed.p1;
}

Placed signal(int64_t cell) { return {cell, kSignal}; }
Placed board(int64_t cell) { return {cell, kWarningBoard, 30}; }
Placed start(int64_t cell, int16_t speed) { return {cell, kSlowdownStart, speed}; }
Placed end(int64_t cell) { return {cell, kSlowdownEnd, 30}; }
Placed taken(int64_t cell) { return {cell, kSpeedBoard, 2020}; }
Placed marker(int64_t cell) { return {cell, kTunnelMarker}; }
Placed reduction(int64_t cell, int16_t value) { return {cell, kReductionValue, value}; }
Placed point(int64_t cell) { return {cell, kReductionValue, kAutoPointValue}; }

struct PassCase {
  std::string name;
  std::vector<Placed> before;
  std::vector<Placed> changed;  // every cell whose kind or p1 the pass changes, in cell order
  int64_t last_cell = 100;
};

std::ostream& operator<<(std::ostream& out, const PassCase& c) { return out << c.name; }

class PostPass : public ::testing::TestWithParam<PassCase> {};

TEST_P(PostPass, PlacesExactlyTheseCells) {
  const PassCase& c = GetParam();
  RouteModel model;
  model.last_cell = static_cast<int32_t>(c.last_cell);
  model.cells.resize(static_cast<size_t>(c.last_cell) + 1);
  for (const Placed& p : c.before) {
    model.cells[static_cast<size_t>(p.cell)].kind = p.kind;
    model.cells[static_cast<size_t>(p.cell)].p1 = p.p1;
  }
  const Cells before = model.cells;
  post_pass(model);
  std::vector<Placed> changed;
  for (size_t i = 0; i < before.size(); ++i) {
    const Cell& cell = model.cells[i];
    if (cell.kind != before[i].kind || cell.p1 != before[i].p1) {
      changed.push_back({static_cast<int64_t>(i), cell.kind, cell.p1});
    }
  }
  EXPECT_EQ(changed, c.changed);
}

INSTANTIATE_TEST_SUITE_P(
    SignalsBeforeAWarningBoard, PostPass,
    ::testing::Values(
        PassCase{"window_of_20_cells", {board(30), signal(10), board(81), signal(60)}, {point(9)}},
        PassCase{"every_signal_served", {board(40), signal(35), signal(30)}, {point(29), point(34)}},
        PassCase{"second_candidate", {board(30), signal(25), taken(24)}, {point(23)}},
        PassCase{"tunnel_marker_is_free", {board(30), signal(25), marker(24)}, {point(24)}},
        PassCase{"signal_at_cell_3", {board(10), signal(3)}, {point(2)}},
        PassCase{"signal_at_cell_3_down_to_cell_1", {board(10), signal(3), taken(2)}, {point(1)}},
        PassCase{"never_below_cell_3", {board(10), signal(2)}, {}},
        PassCase{"nearer_point_capped", {board(30), signal(25), reduction(24, 200), reduction(23, 300)},
                 {reduction(24, 180)}},
        PassCase{"lower_point_kept", {board(30), signal(25), reduction(24, 150), taken(23)}, {}},
        PassCase{"farther_point_capped", {board(30), signal(25), taken(24), reduction(23, 200)},
                 {reduction(23, 180)}},
        PassCase{"no_point_to_cap", {board(30), signal(25), taken(24), {23, kStationStop, 1}}, {}}),
    ::testing::PrintToStringParamName());

// Slowdowns at 120 do not walk, so these show the start windows alone.
INSTANTIATE_TEST_SUITE_P(
    WindowsBeforeASlowdownStart, PostPass,
    ::testing::Values(PassCase{"start_at_7_none", {start(7, 120), end(9)}, {}},
                      PassCase{"start_at_8_nearest", {start(8, 120), end(9)}, {point(3)}},
                      PassCase{"start_at_14_two", {start(14, 120), end(15)}, {point(3), point(9)}},
                      PassCase{"start_at_20_two", {start(20, 120), end(22)}, {point(9), point(15)}},
                      PassCase{"start_at_21_three", {start(21, 120), end(22)}, {point(3), point(10), point(16)}},
                      PassCase{"nearest_free_cell_of_a_window", {start(21, 120), end(22), taken(16)},
                               {point(3), point(10), point(15)}},
                      PassCase{"full_window_places_nothing",
                               {start(21, 120), end(22), taken(16), taken(15), taken(14)}, {point(3), point(10)}}),
    ::testing::PrintToStringParamName());

// Starts at cell 7 have no start windows, so these show the walk alone.
INSTANTIATE_TEST_SUITE_P(
    WalkThroughASlowSlowdown, PostPass,
    ::testing::Values(
        PassCase{"speed_110_does_not_walk", {start(7, 110), end(40)}, {}},
        PassCase{"every_8_cells", {start(7, 100), end(40)}, {point(15), point(23), point(31), point(39)}},
        PassCase{"negative_speed_walks", {start(7, -1), end(20)}, {point(15)}},
        PassCase{"end_cell_point_goes_before_it", {start(7, 100), end(39)},
                 {point(15), point(23), point(31), point(38)}},
        PassCase{"point_after_the_end", {start(7, 100), end(15), taken(14)}, {point(16)}},
        PassCase{"earlier_candidate_restarts_the_count", {start(7, 100), end(41), taken(15)},
                 {point(14), point(22), point(30), point(38)}},
        PassCase{"later_candidate_restarts_the_count", {start(7, 100), end(41), taken(15), taken(14)},
                 {point(16), point(24), point(32), point(40)}},
        PassCase{"failed_placement_ends_the_points", {start(7, 100), end(40), taken(15), taken(14), taken(16)},
                 {}}),
    ::testing::PrintToStringParamName());

INSTANTIATE_TEST_SUITE_P(
    FirstSignalAfterTheEnd, PostPass,
    ::testing::Values(
        PassCase{"point_before_the_signal", {start(7, 120), end(12), signal(20)}, {point(19)}},
        PassCase{"twelve_cells_after_the_end", {start(7, 120), end(12), signal(24)}, {point(23)}},
        PassCase{"thirteen_is_too_far", {start(7, 120), end(12), signal(25)}, {}},
        PassCase{"first_signal_only", {start(7, 120), end(12), signal(15), signal(18)}, {point(14)}},
        PassCase{"second_candidate", {start(7, 120), end(12), signal(20), taken(19)}, {point(18)}},
        PassCase{"both_taken", {start(7, 120), end(12), signal(20), taken(19), taken(18)}, {}},
        PassCase{"after_a_walk", {start(7, 100), end(12), signal(15)}, {point(14)}},
        // The fast slowdown searches from its own end, not from where the
        // slow one's walk stopped (which would have put a point in cell 33).
        PassCase{"fast_slowdown_searches_from_its_own_end",
                 {start(7, 100), end(30), signal(35), start(60, 120), end(70), signal(75)},
                 {point(15), point(23), point(34), point(42), point(49), point(55), point(74)}}),
    ::testing::PrintToStringParamName());

// A slowdown at 20000 m over 800 m at 30 km/h, as the train reader lays it:
// warning board 377, pre-warning cells 373 to 376, start 401, end 417.
INSTANTIATE_TEST_SUITE_P(
    WholeSlowdown, PostPass,
    ::testing::Values(PassCase{"slowdown_at_20000_m",
                               {signal(370), {373, kPreWarning, 4}, {374, kPreWarning, 3}, {375, kPreWarning, 2},
                                {376, kPreWarning, 1}, board(377), start(401, 30), end(417), signal(425)},
                               {point(369), point(383), point(390), point(396), point(409), point(416), point(424)},
                               500}),
    ::testing::PrintToStringParamName());

INSTANTIATE_TEST_SUITE_P(
    EndOfTheGrid, PostPass,
    ::testing::Values(
        PassCase{"walk_without_end_stops_at_the_last_cell", {start(7, 100)}, {point(15), point(23)}, 30},
        PassCase{"no_candidate_past_the_last_cell", {start(7, 100), taken(15), taken(14)}, {}, 15},
        PassCase{"search_stops_at_the_last_cell", {start(7, 120), end(18), signal(20)}, {point(19)}, 20},
        PassCase{"no_end_no_search", {start(7, 120), signal(20)}, {}, 40},
        PassCase{"last_two_cells_start_nothing", {signal(20), board(29), start(30, 100)}, {}, 30}),
    ::testing::PrintToStringParamName());

TEST(PostPass, PointKeepsTheOtherFieldsOfItsCell) {
  RouteModel model;
  model.cells.resize(40);
  model.cells[30].kind = kWarningBoard;
  model.cells[25].kind = kSignal;
  model.cells[24] = Cell{.kind = kTunnelMarker, .p2 = 7, .approach = 1, .tunnel = 2, .speed_limit = 28,
                         .gradient = 105, .adhesion = 100};
  post_pass(model);
  EXPECT_EQ(model.cells[24], (Cell{.kind = kReductionValue, .p1 = 180, .p2 = 7, .approach = 1, .tunnel = 2,
                                   .speed_limit = 28, .gradient = 105, .adhesion = 100}));
}

TEST(PostPass, GridNeverMadeIsLeftAlone) {
  RouteModel model;
  model.last_cell = 2480;  // a length was read, but no grid was made
  post_pass(model);
  EXPECT_TRUE(model.cells.empty());
  for (const size_t size : {1u, 2u, 3u}) {
    model.cells.assign(size, Cell{.kind = kSlowdownStart, .p1 = 100});
    post_pass(model);
    EXPECT_EQ(model.cells, Cells(size, Cell{.kind = kSlowdownStart, .p1 = 100}));
  }
}

}  // namespace
}  // namespace scenario
