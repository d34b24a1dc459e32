#include "reader/slowdowns.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/error_codes.h"
#include "support/verdict.h"
#include "support/model_fixtures.h"

namespace scenario {
namespace {

using testing::code_of;
using testing::detail_of;

using testing::model_with_cells;

struct Expected {
  int index;
  uint8_t kind;
  int16_t p1;
  int16_t p2;
  int16_t p3;
};

void expect_cells(const RouteModel& model, const std::vector<Expected>& expected) {
  for (const Expected& e : expected) {
    const Cell& cell = model.cells[static_cast<size_t>(e.index)];
    SCOPED_TRACE("cell " + std::to_string(e.index));
    EXPECT_EQ(cell.kind, e.kind);
    EXPECT_EQ(cell.p1, e.p1);
    EXPECT_EQ(cell.p2, e.p2);
    EXPECT_EQ(cell.p3, e.p3);
  }
}

size_t marked_cells(const RouteModel& model) {
  size_t count = 0;
  for (const Cell& cell : model.cells) count += cell.kind != kNothing ? 1 : 0;
  return count;
}

const SlowdownRecord kAt20000{.x = 20000, .v = 30, .l = 800, .f_tt = 1, .f_ta = 1, .d_v = 0};

struct Layout {
  const char* name;
  SlowdownRecord record;
  std::vector<Expected> cells;
  size_t marked;  // every cell the record marks
};

class SlowdownLayout : public ::testing::TestWithParam<Layout> {};

TEST_P(SlowdownLayout, MarksTheseCellsAndNoOthers) {
  RouteModel model = model_with_cells(2480);
  const Verdict verdict = memo_rallentamento(model, GetParam().record);
  EXPECT_EQ(code_of(verdict), 0);
  expect_cells(model, GetParam().cells);
  EXPECT_EQ(marked_cells(model), GetParam().marked);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SlowdownLayout,
    ::testing::Values(
        Layout{"BoardStartEndAndPreWarnings",
               kAt20000,
               {{377, kWarningBoard, 30, 0, 0},
                {401, kSlowdownStart, 30, 0, 1},
                {417, kSlowdownEnd, 30, 0, 1},
                {376, kPreWarning, 1, 0, 0},
                {375, kPreWarning, 2, 0, 0},
                {374, kPreWarning, 3, 0, 0},
                {373, kPreWarning, 4, 0, 0}},
               7},
        // d_v goes to every board and repeats the pre-warning numbers.
        Layout{"DvOnEveryBoard",
               {.x = 20000, .v = 30, .l = 800, .f_tt = 1, .f_ta = 1, .d_v = 2},
               {{377, kWarningBoard, 30, 2, 0},
                {401, kSlowdownStart, 30, 2, 1},
                {417, kSlowdownEnd, 30, 2, 1},
                {376, kPreWarning, 1, 1, 0},
                {375, kPreWarning, 2, 2, 0},
                {374, kPreWarning, 3, 3, 0},
                {373, kPreWarning, 4, 4, 0}},
               7},
        // Up to 1500 m there is no warning board, and f_ta counts as 0.
        Layout{"NoWarningBoardAt1500",
               {.x = 1500, .v = 60, .l = 500, .f_tt = 0, .f_ta = 1, .d_v = 0},
               {{31, kSlowdownStart, 60, 0, 0}, {41, kSlowdownEnd, 60, 0, 0}},
               2},
        Layout{"WarningBoardAt1550",
               {.x = 1550, .v = 60, .l = 500, .f_tt = 0, .f_ta = 1, .d_v = 0},
               {{8, kWarningBoard, 60, 0, 0},
                {7, kPreWarning, 1, 0, 0},
                {4, kPreWarning, 4, 0, 0},
                {32, kSlowdownStart, 60, 0, 0},
                {42, kSlowdownEnd, 60, 0, 0}},
               7}),
    [](const ::testing::TestParamInfo<Layout>& test_case) { return test_case.param.name; });

TEST(MemoRallentamento, WithoutFtaThereAreNoPreWarnings) {
  RouteModel model = model_with_cells(2480);
  SlowdownRecord record = kAt20000;
  record.f_ta = 0;
  memo_rallentamento(model, record);
  EXPECT_EQ(marked_cells(model), 3u);
  EXPECT_EQ(model.cells[376].kind, kNothing);
}

TEST(MemoRallentamento, KeepsLowBitsOfWideValues) {
  RouteModel model = model_with_cells(2480);
  memo_rallentamento(model, {.x = 20000, .v = 70000, .l = 800, .f_tt = -1, .f_ta = 0, .d_v = 65538});
  expect_cells(model, {{401, kSlowdownStart, 4464, 2, -1}, {377, kWarningBoard, 4464, 2, 0}});
}

TEST(MemoRallentamento, ReplacesTunnelMarkers) {
  RouteModel model = model_with_cells(2480);
  for (int i = 370; i <= 420; ++i) model.cells[static_cast<size_t>(i)].kind = kTunnelMarker;
  const Verdict verdict = memo_rallentamento(model, kAt20000);
  EXPECT_EQ(code_of(verdict), 0);
  EXPECT_EQ(model.cells[401].kind, kSlowdownStart);
  EXPECT_EQ(model.cells[373].kind, kPreWarning);
  EXPECT_EQ(model.cells[400].kind, kTunnelMarker);
}

struct Refusal {
  const char* name;
  int blocked_cell;  // -1: none
  SlowdownRecord record;
  int32_t code;
  const char* detail;
};

class SlowdownRefusal : public ::testing::TestWithParam<Refusal> {};

// Errors 17 to 19, 15 and the short slowdown are found before anything is
// written.
TEST_P(SlowdownRefusal, LeavesTheGridUnchanged) {
  RouteModel model = model_with_cells(2480);
  if (GetParam().blocked_cell >= 0) model.cells[static_cast<size_t>(GetParam().blocked_cell)].kind = kSignal;
  const Cells before = model.cells;
  const Verdict verdict = memo_rallentamento(model, GetParam().record);
  EXPECT_EQ(code_of(verdict), GetParam().code);
  EXPECT_EQ(detail_of(verdict), GetParam().detail);
  EXPECT_EQ(model.cells, before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SlowdownRefusal,
    ::testing::Values(
        Refusal{"WarningBoard", 377, kAt20000, kWarningCellTaken,
                "slowdown at 20000 m: warning-board cell 377 already holds a signal"},
        Refusal{"Start", 401, kAt20000, kStartCellTaken,
                "slowdown at 20000 m: start cell 401 already holds a signal"},
        Refusal{"End", 417, kAt20000, kEndCellTaken,
                "slowdown at 20000 m, 800 m long: end cell 417 already holds a signal"},
        Refusal{"EndBeyondGrid",
                -1,
                {.x = 123000, .v = 30, .l = 1000, .f_tt = 0, .f_ta = 0, .d_v = 0},
                kPositionError,
                "slowdown at 123000 m, 1000 m long: end cell 2481 lies beyond the last cell 2480"},
        Refusal{"StartAndEndInOneCell",
                -1,
                {.x = 20000, .v = 30, .l = 20, .f_tt = 0, .f_ta = 0, .d_v = 0},
                kEndCellTaken,
                "slowdown at 20000 m, 20 m long: end cell 401 does not lie past start cell 401"},
        Refusal{"Backwards",
                -1,
                {.x = 20000, .v = 30, .l = -500, .f_tt = 0, .f_ta = 0, .d_v = 0},
                kEndCellTaken,
                "slowdown at 20000 m, -500 m long: end cell 391 does not lie past start cell 401"}),
    [](const ::testing::TestParamInfo<Refusal>& test_case) { return test_case.param.name; });

TEST(MemoRallentamento, ShortestAcceptedSlowdownEndsInTheNextCell) {
  RouteModel model = model_with_cells(2480);
  const Verdict verdict = memo_rallentamento(model, {.x = 20000, .v = 30, .l = 50, .f_tt = 0, .f_ta = 0, .d_v = 0});
  EXPECT_EQ(code_of(verdict), 0);
  EXPECT_EQ(model.cells[401].kind, kSlowdownStart);
  EXPECT_EQ(model.cells[402].kind, kSlowdownEnd);
}

// The end cell must round past the start cell: 26 m always does from a start
// on the cells, 25 m only from an odd start cell (the half goes to the even
// neighbour), and a start at a half cell may need more than 50 m.
TEST(MemoRallentamento, ShortestLengthDependsOnWhereTheStartFalls) {
  const struct {
    int32_t x;
    int32_t l;
    int32_t code;
  } kCases[] = {
      {20050, 26, 0}, {20050, 25, kEndCellTaken}, {20000, 25, 0},
      {1525, 50, kEndCellTaken}, {1525, 51, 0}, {1475, 50, 0},
  };
  for (const auto& c : kCases) {
    RouteModel model = model_with_cells(2480);
    const Verdict verdict = memo_rallentamento(model, {.x = c.x, .v = 30, .l = c.l, .f_tt = 0, .f_ta = 0, .d_v = 0});
    EXPECT_EQ(code_of(verdict), c.code) << c.x << " m, " << c.l << " m long";
  }
}

TEST(MemoRallentamento, EndOnTheLastCellIsAccepted) {
  RouteModel model = model_with_cells(2480);
  const Verdict verdict = memo_rallentamento(model, {.x = 123000, .v = 30, .l = 950, .f_tt = 0, .f_ta = 0, .d_v = 0});
  EXPECT_EQ(code_of(verdict), 0);
  EXPECT_EQ(model.cells[2480].kind, kSlowdownEnd);
}

// Error 20 comes after the board, start and end cells are written.
TEST(MemoRallentamento, PreWarningOnAStationStopLeavesTheBoardsWritten) {
  RouteModel model = model_with_cells(2480);
  model.cells[374].kind = kStationStop;
  const Verdict verdict = memo_rallentamento(model, kAt20000);
  EXPECT_EQ(code_of(verdict), kPreWarningCellTaken);
  EXPECT_EQ(detail_of(verdict),
            "slowdown at 20000 m: pre-warning cell 374 already holds a station stop mark");
  EXPECT_EQ(model.cells[377].kind, kWarningBoard);
  EXPECT_EQ(model.cells[401].kind, kSlowdownStart);
  EXPECT_EQ(model.cells[417].kind, kSlowdownEnd);
  EXPECT_EQ(model.cells[376].kind, kNothing);
  EXPECT_EQ(model.cells[374].kind, kStationStop);
}

}  // namespace
}  // namespace scenario
