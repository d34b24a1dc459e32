#include "reader/progressive_systems.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace scenario {
namespace {

// start, offset, direction of one system.
using Triple = std::array<int32_t, 3>;

struct OrderCase {
  const char* name;
  Triple uno, due, tre;                   // as read: rows 83, 82, 81
  Triple slot_tre, slot_due, slot_uno;  // after ordering: rows 81, 82, 83
};

void put(RouteModel& model, int row, const Triple& t) {
  Entry& e = model.entries[static_cast<size_t>(row)];
  e.long1 = t[0];
  e.long2 = t[1];
  e.long3 = t[2];
}

Triple get(const RouteModel& model, int row) {
  const Entry& e = model.entries[static_cast<size_t>(row)];
  return {e.long1, e.long2, e.long3};
}

class ProgressiveOrdina : public ::testing::TestWithParam<OrderCase> {};

TEST_P(ProgressiveOrdina, PutsTheSystemsInOrder) {
  const OrderCase& c = GetParam();
  RouteModel model;
  put(model, kProgressiveUnoRow, c.uno);
  put(model, kProgressiveDueRow, c.due);
  put(model, kProgressiveTreRow, c.tre);
  progressive_ordina(model);
  EXPECT_EQ(get(model, kProgressiveTreRow), c.slot_tre);
  EXPECT_EQ(get(model, kProgressiveDueRow), c.slot_due);
  EXPECT_EQ(get(model, kProgressiveUnoRow), c.slot_uno);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProgressiveOrdina,
    ::testing::Values(
        // Due begins last; tre and uno tie at 0 and uno, read later, goes to slot due.
        OrderCase{"BuiltIn", {0, 35000, 1}, {34000, -30500, 0}, {0, 0, 0},
                  {34000, -30500, 0}, {0, 35100, 1}, {0, 0, 0}},
        OrderCase{"AllZero", {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
        OrderCase{"SumZeroUnoLeads", {0, 1000, 0}, {0, 0, 0}, {0, 0, 0}, {0, 1000, 0}, {0, 0, 0}, {0, 0, 0}},
        OrderCase{"SumZeroFallingGetsItsShift", {0, 2000, 1}, {0, 0, 0}, {0, 0, 0},
                  {0, 2100, 1}, {0, 0, 0}, {0, 0, 0}},
        OrderCase{"SumZeroTreLeads", {0, 0, 0}, {0, -5, 0}, {0, 300, 0}, {0, 300, 0}, {0, -5, 0}, {0, 0, 0}},
        OrderCase{"SumZeroDueLeads", {0, 0, 7}, {0, 50, 0}, {0, 0, 3}, {0, 50, 0}, {0, 0, 3}, {0, 0, 7}},
        OrderCase{"SumZeroLaterRowWins", {0, 10, 0}, {0, 20, 0}, {0, 30, 0}, {0, 10, 0}, {0, 20, 0}, {0, 30, 0}},
        OrderCase{"SumZeroNoPositiveOffset", {0, -10, 1}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
        OrderCase{"SumZeroWithNonZeroStarts", {0, 0, 0}, {1000, 0, 0}, {-1000, 40, 0},
                  {-1000, 40, 0}, {1000, 0, 0}, {0, 0, 0}},
        OrderCase{"SharedGreatestStartClearsAll", {0, 5, 0}, {1000, 6, 0}, {1000, 7, 1},
                  {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
        OrderCase{"DescendingStarts", {5000, 10, 0}, {3000, 20, 0}, {1000, 30, 0},
                  {5000, 10, 0}, {3000, 20, 0}, {1000, 30, 0}},
        OrderCase{"AscendingStarts", {1000, 30, 0}, {3000, 20, 0}, {5000, 10, 1},
                  {5000, 110, 1}, {3000, 20, 0}, {1000, 30, 0}},
        OrderCase{"TieBelowTopGoesToTheLaterRow", {2000, 1, 0}, {2000, 2, 0}, {9000, 3, 0},
                  {9000, 3, 0}, {2000, 1, 0}, {2000, 2, 0}},
        OrderCase{"OtherDirectionIsKeptUnadjusted", {0, 0, 0}, {0, 0, 0}, {1000, 500, 2},
                  {1000, 500, 2}, {0, 0, 0}, {0, 0, 0}}),
    [](const auto& c) { return std::string(c.param.name); });

}  // namespace
}  // namespace scenario
