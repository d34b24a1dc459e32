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

// What check counts: the same objects, within the same span, without the
// stretches it has no use for.
TEST(RouteFacts, ObjectsAloneAreTheObjectsOfTheWholeFacts) {
  RouteModel model = testing::handmade_route(3000, 0.0);
  model.cells[31] = Cell{.kind = kSlowdownStart, .p1 = 30};
  model.cells[39] = Cell{.kind = kSlowdownEnd, .p1 = 30};
  for (const std::optional<Span> span : {std::optional<Span>{}, std::optional<Span>{Span{500, 1600}}}) {
    const RouteFacts whole = route_facts(model, span);
    const RouteFacts objects = route_objects(model, span);
    EXPECT_EQ(objects.signals, whole.signals);
    EXPECT_EQ(objects.speed_boards.size(), whole.speed_boards.size());
    EXPECT_EQ(objects.stations.size(), whole.stations.size());
    ASSERT_EQ(objects.slowdowns.size(), 1u);
    EXPECT_EQ(objects.slowdowns[0].to, whole.slowdowns[0].to);
    EXPECT_TRUE(objects.speed_limits.empty());
    EXPECT_FALSE(whole.speed_limits.empty());
  }
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

// The compiler's points are those the grid before its pass did not hold.
TEST(RouteFacts, ReductionPointsKnowWhetherTheCompilerAddedThem) {
  RouteModel model = testing::handmade_route(3000, 0.0);
  model.cells[30] = Cell{.kind = kReductionValue, .p1 = 60};
  model.cells[40] = Cell{.kind = kReductionValue, .p1 = 180};
  model.cells[50] = Cell{.kind = kReductionPlain};
  Cells before = model.cells;
  before[40] = Cell{};
  const struct {
    const char* what;
    const Cells* before;
    bool compilers_at_2000;
  } cases[] = {{"grid before the pass known", &before, true}, {"grid before the pass unknown", nullptr, false}};
  for (const auto& c : cases) {
    const RouteFacts facts = route_facts(model, std::nullopt, c.before);
    ASSERT_EQ(facts.reduction_points.size(), 3u) << c.what;
    EXPECT_EQ(facts.reduction_points[0].position, 1500) << c.what;  // p / 50: cell 30
    EXPECT_EQ(facts.reduction_points[0].speed, 60) << c.what;
    EXPECT_FALSE(facts.reduction_points[0].compilers) << c.what;
    EXPECT_EQ(facts.reduction_points[1].compilers, c.compilers_at_2000) << c.what;
    EXPECT_EQ(facts.reduction_points[2].speed, std::nullopt) << c.what;
    EXPECT_FALSE(facts.reduction_points[2].compilers) << c.what;
  }
}

TEST(RouteFacts, BoardsCarryTheirTextAndWarningBoardsTheirSpeed) {
  RouteModel model = testing::handmade_route(3000, 0.0);
  model.cells[25] = Cell{.kind = kTextBoard, .p1 = 80};
  model.entries[80].text = "(SOTTOVIA    )(AUTOSTRADALE)";
  model.cells[33] = Cell{.kind = kWarningBoard, .p1 = 30};
  const RouteFacts facts = route_facts(model);
  ASSERT_EQ(facts.indication_boards.size(), 1u);
  EXPECT_EQ(facts.indication_boards[0].position, 1200);
  EXPECT_EQ(facts.indication_boards[0].text, "SOTTOVIA / AUTOSTRADALE");
  ASSERT_EQ(facts.warning_boards.size(), 1u);
  EXPECT_EQ(facts.warning_boards[0].position, 1600);
  EXPECT_EQ(facts.warning_boards[0].speed, 30);
}

TEST(BoardLines, GroupsInParenthesesAreTheBoardsLines) {
  const struct {
    const char* text;
    const char* lines;
  } cases[] = {
      {"(SOTTOVIA    )(AUTOSTRADALE)", "SOTTOVIA / AUTOSTRADALE"},
      {"(PONTE SU)(FIUME)( ARDESE )", "PONTE SU / FIUME / ARDESE"},
      {"CASELLO 12", "CASELLO 12"},
      {"(NOT CLOSED", "(NOT CLOSED"},
      {"(A)TAIL", "(A)TAIL"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(board_lines(c.text), c.lines) << c.text;
}

// A span keeps what stands in it and cuts the stretches to it; the height
// goes on from where the gradients before it left it.
TEST(RouteFacts, SpanKeepsWhatStandsInIt) {
  const RouteModel model = testing::handmade_route(4000, 0.0);
  const RouteFacts facts = route_facts(model, Span{900, 2500});
  EXPECT_EQ(facts.from, 900);
  EXPECT_EQ(facts.to, 2500);
  EXPECT_EQ(facts.route_length, 4000);
  EXPECT_EQ(facts.signals, std::vector<int32_t>{1000});
  EXPECT_TRUE(facts.speed_boards.empty());  // at 400 m
  EXPECT_TRUE(facts.stations.empty());      // at 0 and 3800 m
  EXPECT_TRUE(facts.tunnels.empty());       // 500 to 600 m
  ASSERT_EQ(facts.gradients.size(), 2u);
  EXPECT_EQ(facts.gradients[0].from, 900);
  EXPECT_EQ(facts.gradients[1].to, 2500);
  EXPECT_DOUBLE_EQ(facts.start_height, 0.0);
  EXPECT_DOUBLE_EQ(route_facts(model, Span{1500, 2500}).start_height, 2.5);  // 500 m at 5 per mille
}

}  // namespace
}  // namespace scenario
