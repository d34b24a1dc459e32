#include "reader/gradients_tunnels.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "model/error_codes.h"
#include "support/verdict.h"
#include "model/run_failure.h"
#include "support/model_fixtures.h"

namespace scenario {
namespace {

using testing::code_of;
using testing::detail_of;

using testing::model_with_cells;

std::vector<int> gradients(const RouteModel& model) {
  std::vector<int> values;
  for (const Cell& cell : model.cells) values.push_back(cell.gradient);
  return values;
}

// n cells of value, for building expected profiles.
std::vector<int> run(size_t n, int value) { return std::vector<int>(n, value); }

std::vector<int> joined(std::initializer_list<std::vector<int>> parts) {
  std::vector<int> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

struct GradientCase {
  const char* name;
  std::vector<std::pair<int32_t, int32_t>> records;  // position, gradient
  std::vector<int> expected;                          // cells 0 to 60
};

class GradientFill : public ::testing::TestWithParam<GradientCase> {};

TEST_P(GradientFill, EachRecordHoldsFromItsCellOn) {
  RouteModel model = model_with_cells(60);
  ReaderState state;
  for (const auto& [p, g] : GetParam().records) apply_gradient(model, state, p, g);
  final_gradient_fill(model, state);
  EXPECT_EQ(gradients(model), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GradientFill,
    ::testing::Values(
        GradientCase{"ThreeRecords", {{0, 0}, {1000, 5}, {2000, 0}},
                     joined({run(20, 100), run(20, 105), run(18, 100), run(3, 0)})},
        GradientCase{"NegativeGradient", {{0, -3}}, joined({run(58, 97), run(3, 0)})},
        // 20 / 50 and 25 / 50 round to cell 0 (halves to even): the record
        // only sets the gradient; 75 / 50 rounds to 2.
        GradientCase{"BelowHalfACell", {{20, 4}}, joined({run(58, 104), run(3, 0)})},
        GradientCase{"HalfACell", {{25, 4}}, joined({run(58, 104), run(3, 0)})},
        GradientCase{"OneAndAHalfCells", {{0, 1}, {75, 2}}, joined({run(2, 101), run(56, 102), run(3, 0)})},
        // The second record in cell 20 still writes one cell with the first's gradient.
        GradientCase{"TwoRecordsInOneCell", {{0, 1}, {1000, 2}, {1010, 3}},
                     joined({run(20, 101), run(1, 102), run(37, 103), run(3, 0)})},
        GradientCase{"NoRecordFillsZeroGradient", {}, joined({run(58, 100), run(3, 0)})},
        // A fill already past last_cell - 2 still writes its cell once.
        GradientCase{"RecordNearTheEnd", {{0, 1}, {2900, 2}}, joined({run(58, 101), run(1, 102), run(2, 0)})}),
    [](const auto& c) { return std::string(c.param.name); });

TEST(GradientFill, AGradientOutsideTheCellRangeIsAFailure) {
  RouteModel model = model_with_cells(60);
  ReaderState state;
  apply_gradient(model, state, 0, 156);
  EXPECT_THROW(final_gradient_fill(model, state), RunFailure);
}

std::vector<int> tunnel_kinds(const RouteModel& model, int first, int last) {
  std::vector<int> kinds;
  for (int i = first; i <= last; ++i) kinds.push_back(model.cells[static_cast<size_t>(i)].tunnel);
  return kinds;
}

TEST(MemoMontagna, CoversTheCellsUpToTheOneBeforeTheExit) {
  RouteModel model = model_with_cells(100);
  memo_montagna(model, 1000, 1400, 2);
  EXPECT_EQ(tunnel_kinds(model, 19, 28), joined({run(1, 0), run(8, 2), run(1, 0)}));
  EXPECT_EQ(model.cells[23].kind, kNothing);
  EXPECT_EQ(model.tunnel_count, 1);
  EXPECT_EQ(model.tunnel_start[1], 1000);
  EXPECT_EQ(model.tunnel_end[1], 1400);
}

TEST(MemoMontagna, KindsAboveTenPutAMarkerInEveryFourthFreeCell) {
  RouteModel model = model_with_cells(100);
  model.cells[27].kind = kSignal;
  memo_montagna(model, 1000, 1400, 12);
  EXPECT_EQ(tunnel_kinds(model, 20, 27), run(8, 2));
  for (int i = 19; i <= 28; ++i) {
    const int expected = i == 23 ? kTunnelMarker : i == 27 ? kSignal : kNothing;
    EXPECT_EQ(model.cells[static_cast<size_t>(i)].kind, expected) << i;
  }
}

TEST(MemoMontagna, TheBuiltInFiftyMetreTunnelCoversOneCell) {
  RouteModel model = model_with_cells(2480);
  memo_montagna(model, 7200, 7250, 2);
  EXPECT_EQ(tunnel_kinds(model, 143, 145), (std::vector<int>{0, 2, 0}));
}

struct SuccessionCase {
  int32_t second_inizio;
  int32_t tipo;
  int expected;
};

class CloseSuccession : public ::testing::TestWithParam<SuccessionCase> {};

TEST_P(CloseSuccession, ATunnelWithin150MetresBecomesKind3) {
  RouteModel model = model_with_cells(200);
  memo_montagna(model, 1000, 1400, 2);
  memo_montagna(model, GetParam().second_inizio, GetParam().second_inizio + 100, GetParam().tipo);
  EXPECT_EQ(model.cells[static_cast<size_t>(GetParam().second_inizio / 50)].tunnel, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, CloseSuccession,
                         ::testing::Values(SuccessionCase{1550, 2, 3}, SuccessionCase{1600, 2, 2},
                                           SuccessionCase{1550, 14, 3}, SuccessionCase{1600, 14, 4}));

TEST(MemoMontagna, AnEmptyTunnelStillCounts) {
  RouteModel model = model_with_cells(100);
  memo_montagna(model, 1000, 1000, 2);
  EXPECT_EQ(model.tunnel_count, 1);
  EXPECT_EQ(tunnel_kinds(model, 0, 100), run(101, 0));
}

TEST(MemoMontagna, TheRegisterHoldsEightyTunnels) {
  RouteModel model = model_with_cells(100);
  for (int n = 0; n < 80; ++n) EXPECT_EQ(code_of(memo_montagna(model, 0, 0, 2)), 0);
  const Verdict verdict = memo_montagna(model, 1000, 1400, 2);
  EXPECT_EQ(code_of(verdict), kPositionError);
  EXPECT_EQ(model.tunnel_count, 80);
  EXPECT_EQ(tunnel_kinds(model, 20, 27), run(8, 0));
}

TEST(MemoMontagna, ATunnelReachingPastTheGridIsRefusedWhole) {
  RouteModel model = model_with_cells(100);
  EXPECT_EQ(code_of(memo_montagna(model, 4900, 5050, 2)), 0);  // cells 98 to 100: the last one
  const Verdict verdict = memo_montagna(model, 4900, 5100, 5);  // cells 98 to 101
  EXPECT_EQ(code_of(verdict), kPositionError);
  EXPECT_EQ(detail_of(verdict),
            "tunnel from 4900 m to 5100 m: its cells 98 to 101 reach past the last cell 100");
  EXPECT_EQ(tunnel_kinds(model, 98, 100), run(3, 2));
  EXPECT_EQ(model.tunnel_count, 1);
}

}  // namespace
}  // namespace scenario
