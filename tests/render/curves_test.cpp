#include "render/curves.h"

#include <gtest/gtest.h>

#include "model/trace_walk.h"

namespace scenario {
namespace {

// A trace walked as a compile walks it: straight, then the runs given.
Trace walked(int64_t points, TraceRuns runs) {
  return trace_points(PlanTrace{.points = points, .seeded = true, .runs = std::move(runs)});
}

TEST(CurvesOf, EachCurveIsFoundWithItsStartEndRadiusAndSide) {
  const struct {
    const char* what;
    TraceRuns runs;
    std::vector<Curve> curves;
  } cases[] = {
      {"no curve", {{kFirstComputedPoint, 3000, 0.0}}, {}},
      {"curvad4 from 100, 50 m",  // points 101 to 150 bend toward +x
       {{kFirstComputedPoint, 100, 0.0}, {101, 150, 0.001}, {151, 3000, 0.0}},
       {Curve{100, 150, 1000, true}}},
      {"curvas6 then curvad1 at once",
       {{kFirstComputedPoint, 500, 0.0}, {501, 700, -0.003}, {701, 900, 0.0001}, {901, 3000, 0.0}},
       {Curve{500, 700, 333, false}, Curve{700, 900, 10000, true}}},
  };
  for (const auto& c : cases) {
    const std::vector<Curve> found = curves_of(walked(3003, c.runs));
    ASSERT_EQ(found.size(), c.curves.size()) << c.what;
    for (size_t i = 0; i < found.size(); ++i) {
      EXPECT_EQ(found[i].from, c.curves[i].from) << c.what;
      EXPECT_EQ(found[i].to, c.curves[i].to) << c.what;
      EXPECT_EQ(found[i].radius, c.curves[i].radius) << c.what;
      EXPECT_EQ(found[i].right, c.curves[i].right) << c.what;
    }
  }
  EXPECT_TRUE(curves_of(Trace{}).empty());
}

}  // namespace
}  // namespace scenario
