#include "render/route_facts.h"

#include <gtest/gtest.h>

#include "render/handmade_route.h"

namespace scenario {
namespace {

TEST(RouteFacts, ObjectsStandAtThePositionOfTheirRecord) {
  const RouteFacts facts = route_facts(testing::handmade_route(2000, 0.0));
  EXPECT_EQ(facts.route_length, 2000);
  EXPECT_EQ(facts.signals, std::vector<int32_t>{1000});  // cell 21 = 1000 / 50 + 1
  ASSERT_EQ(facts.speed_boards.size(), 1u);
  EXPECT_EQ(facts.speed_boards[0].position, 400);
  EXPECT_EQ(facts.speed_boards[0].speed, 100);  // p1 2020: s 100, d 100
  ASSERT_EQ(facts.stations.size(), 2u);
  EXPECT_EQ(facts.stations[1].name, "FINE");
  EXPECT_EQ(facts.stations[1].position, 1800);
}

TEST(RouteFacts, StretchesJoinEqualCellsUpToTheRouteEnd) {
  const RouteFacts facts = route_facts(testing::handmade_route(2000, 0.0));
  ASSERT_EQ(facts.speed_limits.size(), 2u);
  EXPECT_EQ(facts.speed_limits[0].to, 400);
  EXPECT_EQ(facts.speed_limits[0].value, 60);
  EXPECT_EQ(facts.speed_limits[1].to, 2000);
  EXPECT_EQ(facts.speed_limits[1].value, 100);
  ASSERT_EQ(facts.gradients.size(), 2u);
  EXPECT_EQ(facts.gradients[1].from, 1000);
  EXPECT_EQ(facts.gradients[1].value, 5);
  ASSERT_EQ(facts.tunnels.size(), 1u);
  EXPECT_EQ(facts.tunnels[0].from, 500);
  EXPECT_EQ(facts.tunnels[0].to, 600);
}

TEST(RouteFacts, SpeedBoardShowsItsSSpeedAndStripes) {
  RouteModel model = testing::handmade_route(2000, 0.0);
  model.cells[9].p1 = 2822;  // s 140, d 110
  model.cells[9].p4 = 21;
  const RouteFacts facts = route_facts(model);
  EXPECT_EQ(facts.speed_boards[0].speed, 140);
  EXPECT_EQ(facts.speed_boards[0].stripes, 2);
}

TEST(RouteFacts, SlowdownRunsFromItsStartToItsEnd) {
  RouteModel model = testing::handmade_route(3000, 0.0);
  model.cells[31] = Cell{.kind = kSlowdownStart, .p1 = 30};
  model.cells[39] = Cell{.kind = kSlowdownEnd, .p1 = 30};
  const RouteFacts facts = route_facts(model);
  ASSERT_EQ(facts.slowdowns.size(), 1u);
  EXPECT_EQ(facts.slowdowns[0].from, 1500);
  EXPECT_EQ(facts.slowdowns[0].to, 1900);
  EXPECT_EQ(facts.slowdowns[0].value, 30);
}

TEST(RouteFacts, RouteLengthThatDoesNotFitTheGridFallsBackToTheGrid) {
  RouteModel model = testing::handmade_route(2000, 0.0);
  model.entries[kTotalsRow].long2 = 1000000;
  EXPECT_EQ(route_facts(model).route_length, 2000);  // the last cell begins at 9000 m, less the run-out
}

}  // namespace
}  // namespace scenario
