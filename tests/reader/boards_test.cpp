#include "reader/boards.h"

#include <gtest/gtest.h>

#include <string>

#include "model/error_codes.h"
#include "support/verdict.h"
#include "model/run_failure.h"
#include "support/model_fixtures.h"

namespace scenario {
namespace {

using testing::code_of;
using testing::detail_of;

using testing::model_with_cells;

// "indicatori_vmax,  7700,  100,  100,  110,  2,  100,  100,  110,  2"
constexpr SpeedBoard kBuiltInRow{.posizione = 7700, .vas = 100, .vbs = 100, .vcs = 110, .strisces = 2,
                                 .vad = 100, .vbd = 100, .vcd = 110, .strisced = 2};

TEST(MemoIndicatoriVMax, PacksTheSpeedsOfBothGroups) {
  RouteModel model = model_with_cells(2480);
  const Verdict verdict = memo_indicatori_v_max(model, kBuiltInRow);
  const Cell& cell = model.cells[155];
  EXPECT_EQ(cell.kind, kSpeedBoard);
  EXPECT_EQ(cell.p1, 2020);
  EXPECT_EQ(cell.p2, 2020);
  EXPECT_EQ(cell.p3, 2222);
  EXPECT_EQ(cell.p4, 22);
  EXPECT_EQ(code_of(verdict), 0);
}

struct CodeCase {
  int32_t vas, vad;
  int16_t p1;
};

class SpeedCode : public ::testing::TestWithParam<CodeCase> {};

TEST_P(SpeedCode, RoundsTheFifthOfTheDSpeed) {
  RouteModel model = model_with_cells(100);
  memo_indicatori_v_max(model, {.posizione = 1000, .vas = GetParam().vas, .vad = GetParam().vad});
  EXPECT_EQ(model.cells[21].p1, GetParam().p1);
}

INSTANTIATE_TEST_SUITE_P(Cases, SpeedCode,
                         ::testing::Values(CodeCase{100, 110, 2022}, CodeCase{140, 140, 2828},
                                           CodeCase{100, 102, 2020}, CodeCase{0, 7, 1},
                                           CodeCase{0, 8, 2}, CodeCase{-5, 0, -100}));

struct CellCase {
  int32_t posizione;
  size_t cell;
};

class BoardCell : public ::testing::TestWithParam<CellCase> {};

// Halves go to the even neighbour: 2475 / 50 + 1 = 50.5 gives 50.
TEST_P(BoardCell, IsTheCellAfterThePositionRounded) {
  RouteModel model = model_with_cells(2480);
  ReaderState state;
  memo_indicatori_v_max(model, {.posizione = GetParam().posizione});
  place_text_board(model, state, GetParam().posizione + 100, "(X)");
  EXPECT_EQ(model.cells[GetParam().cell].kind, kSpeedBoard);
  EXPECT_EQ(model.cells[GetParam().cell + 2].kind, kTextBoard);
}

INSTANTIATE_TEST_SUITE_P(Cases, BoardCell,
                         ::testing::Values(CellCase{7150, 144}, CellCase{7700, 155}, CellCase{2475, 50},
                                           CellCase{2525, 52}, CellCase{2476, 51}, CellCase{0, 1}));

struct WideCase {
  const char* name;
  SpeedBoard board;
  Cell left;  // what the failure leaves in the board's cell 21
};

class WideBoardValue : public ::testing::TestWithParam<WideCase> {};

// The kind goes in first, then p1 to p4: a value too wide for its field fails
// with the fields before it written.
TEST_P(WideBoardValue, FailsWithTheFieldsBeforeItWritten) {
  RouteModel model = model_with_cells(100);
  EXPECT_THROW(memo_indicatori_v_max(model, GetParam().board), RunFailure);
  EXPECT_EQ(model.cells[21], GetParam().left);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WideBoardValue,
    ::testing::Values(WideCase{"P1", {.posizione = 1000, .vas = 2000}, {.kind = kSpeedBoard}},
                      WideCase{"P3",
                               {.posizione = 1000, .vas = 100, .vbs = 140, .vcs = -1700, .vad = 110},
                               {.kind = kSpeedBoard, .p1 = 2022, .p2 = 2800}},
                      WideCase{"P4",
                               {.posizione = 1000, .vas = 1, .vbs = 2, .vcs = 3, .strisces = 3277},
                               {.kind = kSpeedBoard, .p1 = 20, .p2 = 40, .p3 = 60}}),
    [](const ::testing::TestParamInfo<WideCase>& test_case) { return test_case.param.name; });

TEST(MemoIndicatoriVMax, StripesFillSixteenBits) {
  RouteModel model = model_with_cells(100);
  memo_indicatori_v_max(model, {.posizione = 1000, .strisces = 3276, .strisced = 7});
  EXPECT_EQ(model.cells[21].p4, 32767);
}

TEST(MemoIndicatoriVMax, ACellThatIsNotFreeRefusesTheBoard) {
  RouteModel model = model_with_cells(2480);
  model.cells[155].kind = kTextBoard;
  const Verdict verdict = memo_indicatori_v_max(model, kBuiltInRow);
  EXPECT_EQ(code_of(verdict), kSpeedBoardTaken);
  EXPECT_EQ(detail_of(verdict), "speed board at 7700 m: cell 155 already holds an indication board");
  EXPECT_EQ(model.cells[155].p1, 0);
}

TEST(Boards, ATunnelMarkerGivesWayToABoard) {
  RouteModel model = model_with_cells(2480);
  ReaderState state;
  model.cells[155].kind = kTunnelMarker;
  model.cells[157].kind = kTunnelMarker;
  memo_indicatori_v_max(model, kBuiltInRow);
  const Verdict verdict = place_text_board(model, state, 7800, "(X)");
  EXPECT_EQ(model.cells[155].kind, kSpeedBoard);
  EXPECT_EQ(model.cells[157].kind, kTextBoard);
  EXPECT_EQ(code_of(verdict), 0);
}

TEST(PlaceTextBoard, TextsFillTheRowsFrom80Down) {
  RouteModel model = model_with_cells(2480);
  ReaderState state;
  place_text_board(model, state, 1000, "(SOTTOVIA    )(AUTOSTRADALE)");
  place_text_board(model, state, 2000, "(B)");
  EXPECT_EQ(model.cells[21].kind, kTextBoard);
  EXPECT_EQ(model.cells[21].p1, 80);
  EXPECT_EQ(model.cells[41].p1, 79);
  EXPECT_EQ(model.entries[80].text, "(SOTTOVIA    )(AUTOSTRADALE)");
  EXPECT_EQ(model.entries[79].text, "(B)");
  EXPECT_EQ(state.next_board_slot, 78);
}

TEST(PlaceTextBoard, ASecondBoardInTheSameCellIsRefused) {
  RouteModel model = model_with_cells(2480);
  ReaderState state;
  place_text_board(model, state, 1000, "(A)");
  const Verdict verdict = place_text_board(model, state, 1010, "(B)");
  EXPECT_EQ(code_of(verdict), kTextBoardTaken);
  EXPECT_EQ(detail_of(verdict), "indication board at 1010 m: cell 21 already holds an indication board");
  EXPECT_EQ(model.entries[79].text, "");
  EXPECT_EQ(state.next_board_slot, 79);
}

TEST(PlaceTextBoard, ASpeedBoardInTheCellOfATextBoardIsRefused) {
  RouteModel model = model_with_cells(2480);
  ReaderState state;
  place_text_board(model, state, 7700, "(A)");
  const Verdict verdict = memo_indicatori_v_max(model, kBuiltInRow);
  EXPECT_EQ(code_of(verdict), kSpeedBoardTaken);
  EXPECT_EQ(model.cells[155].kind, kTextBoard);
}

// The texts fill rows 80 down to 1; the 81st board has no row left.
TEST(PlaceTextBoard, TheTextsMayFillRowsEightyDownToOne) {
  RouteModel model = model_with_cells(2480);
  ReaderState state;
  for (int32_t n = 0; n < 80; ++n) EXPECT_EQ(code_of(place_text_board(model, state, 1000 + 100 * n, "(T)")), 0);
  EXPECT_EQ(model.entries[1].text, "(T)");
  EXPECT_EQ(model.cells[179].p1, 1);  // the 80th, at 8900 m
  EXPECT_EQ(state.next_board_slot, 0);
  const Verdict verdict = place_text_board(model, state, 20000, "(T)");
  EXPECT_EQ(code_of(verdict), kPositionError);
  EXPECT_EQ(detail_of(verdict),
            "indication board at 20000 m: no row is left for its text (rows 80 to 1 are taken)");
  EXPECT_EQ(model.cells[401].kind, kNothing);
  EXPECT_EQ(model.entries[0], Entry{});
  EXPECT_EQ(state.next_board_slot, 0);
}

}  // namespace
}  // namespace scenario
