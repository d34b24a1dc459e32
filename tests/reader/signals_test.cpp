#include "reader/signals.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/error_codes.h"
#include "support/verdict.h"
#include "support/model_fixtures.h"

namespace scenario {
namespace {

using testing::code_of;
using testing::detail_of;

using testing::approaches;
using testing::model_with_cells;

// The commonest row of the built-in source: "segnale, 1500, 2, 4, 0, 0, 0, 2, 2,0,0, 0".
SignalRecord commonest_at(int32_t posizione) {
  return {.posizione = posizione, .sx = 2, .s1 = 4, .dx = 2, .d1 = 2};
}

TEST(MemoSegnale, CommonestRowPacksItsCellAndApproachCells) {
  RouteModel model = model_with_cells(100);
  const Verdict verdict = memo_segnale(model, commonest_at(1500));
  const Cell& cell = model.cells[31];
  EXPECT_EQ(cell.kind, kSignal);
  EXPECT_EQ(cell.p1, 42);
  EXPECT_EQ(cell.p2, 0);
  EXPECT_EQ(cell.p3, 0);
  EXPECT_EQ(cell.p4, 8);
  EXPECT_EQ(cell.timer, 0);
  EXPECT_EQ(approaches(model, {29, 27, 25, 23}), (std::vector<uint8_t>{81, 82, 83, 84}));
  EXPECT_EQ(approaches(model, {30, 28, 26, 24, 22, 21}), (std::vector<uint8_t>(6, 0)));
  EXPECT_EQ(code_of(verdict), 0);
}

TEST(MemoSegnale, PacksEveryGroupAndTheCodeDigit) {
  RouteModel model = model_with_cells(600);
  // "segnale, 25200, 1, 2, 5, 6, 1, 1, 3,0,0, 0"
  memo_segnale(model, {.posizione = 25200, .sx = 1, .s1 = 2, .s2 = 5, .s3 = 6, .rapp = 1, .dx = 1, .d1 = 3});
  const Cell& cell = model.cells[505];
  EXPECT_EQ(cell.p1, 23);
  EXPECT_EQ(cell.p2, 50);
  EXPECT_EQ(cell.p3, 60);
  EXPECT_EQ(cell.p4, 14);
  EXPECT_EQ(approaches(model, {503, 501, 499, 497}), (std::vector<uint8_t>{41, 42, 43, 44}));
}

TEST(MemoSegnale, ApproachCodesFollowSxAndDx) {
  RouteModel model = model_with_cells(400);
  memo_segnale(model, {.posizione = 10500, .sx = 1, .s1 = 3});
  EXPECT_EQ(model.cells[211].p1, 30);
  EXPECT_EQ(model.cells[211].p4, 3);
  EXPECT_EQ(approaches(model, {209, 207, 205, 203}), (std::vector<uint8_t>{31, 32, 33, 34}));
}

TEST(MemoSegnale, KeepsLowBitsOfWideValues) {
  RouteModel model = model_with_cells(100);
  memo_segnale(model, {.posizione = 1500, .sx = 90, .s1 = 7000, .rapp = 7000, .d1 = 5});
  const Cell& cell = model.cells[31];
  EXPECT_EQ(cell.p1, 4469);                  // 70005 - 65536
  EXPECT_EQ(cell.p4, 4734);                  // 70270 - 65536
  EXPECT_EQ(model.cells[29].approach, 141);  // 2701 - 10 * 256
}

struct TimerCase {
  int32_t sx;
  int32_t tempo;
  uint8_t timer;
};

class SignalTimer : public ::testing::TestWithParam<TimerCase> {};

TEST_P(SignalTimer, KeepsTempoOnlyForSxTwoAndRaisesShortTimes) {
  RouteModel model = model_with_cells(100);
  memo_segnale(model, {.posizione = 1500, .sx = GetParam().sx, .tempo = GetParam().tempo});
  EXPECT_EQ(model.cells[31].timer, GetParam().timer);
}

INSTANTIATE_TEST_SUITE_P(Cases, SignalTimer,
                         ::testing::Values(TimerCase{2, 50, 101}, TimerCase{2, 0, 0}, TimerCase{2, 1, 101},
                                           TimerCase{2, 100, 101}, TimerCase{2, 101, 101},
                                           TimerCase{2, 150, 150}, TimerCase{2, 300, 44},
                                           TimerCase{1, 150, 0}, TimerCase{1, 50, 0}));

TEST(MemoSegnale, SecondSignalHundredMetresOnMarksTheFirstSignalsCell) {
  RouteModel model = model_with_cells(100);
  memo_segnale(model, {.posizione = 1500, .sx = 1});
  const Verdict verdict = memo_segnale(model, commonest_at(1600));
  EXPECT_EQ(model.cells[31].kind, kSignal);
  EXPECT_EQ(model.cells[31].approach, 81);
  EXPECT_EQ(code_of(verdict), 0);
}

TEST(MemoSegnale, SignalsFiftyMetresApartShareNoCell) {
  RouteModel model = model_with_cells(100);
  memo_segnale(model, {.posizione = 1500, .sx = 1});
  memo_segnale(model, commonest_at(1550));
  EXPECT_EQ(model.cells[31].approach, 0);
  EXPECT_EQ(model.cells[32].kind, kSignal);
}

TEST(MemoSegnale, HalvesGoToTheEvenCell) {
  RouteModel model = model_with_cells(100);
  memo_segnale(model, commonest_at(1525));
  ASSERT_EQ(model.cells[32].kind, kSignal);
  const Cells before = model.cells;
  const Verdict verdict = memo_segnale(model, {.posizione = 1575, .sx = 1, .s1 = 3});
  EXPECT_EQ(code_of(verdict), kSignalCellTaken);
  EXPECT_EQ(detail_of(verdict), "signal at 1575 m: cell 32 already holds a signal");
  EXPECT_EQ(model.cells, before);
}

TEST(MemoSegnale, RefusesTakenCellsAndNamesWhatIsThere) {
  RouteModel model = model_with_cells(400);
  model.cells[211].kind = kStationStop;
  const Verdict verdict = memo_segnale(model, {.posizione = 10500, .sx = 1, .s1 = 3});
  EXPECT_EQ(code_of(verdict), kSignalCellTaken);
  EXPECT_EQ(detail_of(verdict), "signal at 10500 m: cell 211 already holds a station stop mark");
  EXPECT_EQ(model.cells[211].kind, kStationStop);
  EXPECT_EQ(model.cells[209].approach, 0);
}

TEST(MemoSegnale, ReplacesATunnelMarker) {
  RouteModel model = model_with_cells(100);
  model.cells[31].kind = kTunnelMarker;
  model.cells[31].tunnel = 2;
  const Verdict verdict = memo_segnale(model, commonest_at(1500));
  EXPECT_EQ(code_of(verdict), 0);
  EXPECT_EQ(model.cells[31].kind, kSignal);
  EXPECT_EQ(model.cells[31].tunnel, 2);
}

// Near the origin the approach cells that would lie before cell 0 are skipped.
TEST(MemoSegnale, SkipsApproachCellsBeforeTheGrid) {
  RouteModel model = model_with_cells(100);
  const Verdict verdict = memo_segnale(model, commonest_at(300));
  EXPECT_EQ(model.cells[7].kind, kSignal);
  EXPECT_EQ(approaches(model, {5, 3, 1}), (std::vector<uint8_t>{81, 82, 83}));
  EXPECT_EQ(code_of(verdict), 0);
}

}  // namespace
}  // namespace scenario
