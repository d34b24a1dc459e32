#include "reader/plan_trace.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/error_codes.h"
#include "support/verdict.h"
#include "model/trace_walk.h"

namespace scenario {
namespace {

using testing::code_of;
using testing::detail_of;

constexpr TraceValue kEmpty{};

TraceValue real(double value) { return {TraceValue::kDouble, value}; }

// A seeded trace of points 0 to extended_length.
struct Seeded {
  explicit Seeded(int32_t extended_length) {
    model.extended_length = extended_length;
    create_trace(model);
    seed_trace(model, state);
  }
  // Each call walks the whole trace: the reader keeps only its runs.
  TraceValue x(int m) const { return trace_points(model.plan_trace).x.at(static_cast<size_t>(m)); }
  TraceValue y(int m) const { return trace_points(model.plan_trace).y.at(static_cast<size_t>(m)); }
  // Direction of the step that leads to point m, in radians from +y toward +x.
  double heading(int m) const {
    return std::atan2(x(m).value - x(m - 1).value, y(m).value - y(m - 1).value);
  }
  RouteModel model;
  ReaderState state;
};

TEST(PlanTrace, WithoutCurvesTheRouteRunsStraightAlongY) {
  Seeded trace(1000);
  const Verdict verdict = extend_trace(trace.model, trace.state);
  EXPECT_EQ(trace.x(0), (TraceValue{TraceValue::kInt16, 0}));
  EXPECT_EQ(trace.y(0), (TraceValue{TraceValue::kInt16, 0}));
  EXPECT_EQ(trace.x(1), (TraceValue{TraceValue::kInt16, 0}));
  EXPECT_EQ(trace.y(1), (TraceValue{TraceValue::kInt16, 1}));
  for (int m = 2; m <= 998; ++m) {
    ASSERT_EQ(trace.x(m), real(0)) << m;
    ASSERT_EQ(trace.y(m), real(m)) << m;
  }
  EXPECT_EQ(trace.x(999), kEmpty);
  EXPECT_EQ(trace.y(1000), kEmpty);
  EXPECT_EQ(trace.state.trace_position, 999);
  EXPECT_EQ(code_of(verdict), 0);
}

TEST(PlanTrace, CurveBendsThePointsAfterItsStart) {
  Seeded trace(1000);
  apply_curve(trace.model, trace.state, "curvad4", 100, 50);
  extend_trace(trace.model, trace.state);
  for (int m = 2; m <= 100; ++m) ASSERT_EQ(trace.x(m), real(0)) << m;
  EXPECT_EQ(trace.y(100), real(100));
  // The first bent step turns the unit step (0, 1) by k = 0.001; the next
  // turns the step (0.001, 1) that came of it. Each coordinate is the double
  // its sums and products give in this order, to the last bit.
  constexpr double k = 0.001;
  EXPECT_EQ(trace.x(101), real(0.0 + (0.0 + k * 1.0)));
  EXPECT_EQ(trace.y(101), real(100.0 + (1.0 - k * 0.0)));
  EXPECT_EQ(trace.x(102), real(0.001 + (0.001 + k * 1.0)));
  EXPECT_EQ(trace.y(102), real(101.0 + (1.0 - k * 0.001)));
  // 50 turns of atan(0.001) each; the straight run after keeps the heading.
  EXPECT_NEAR(trace.heading(150), 50 * std::atan(0.001), 1e-12);
  EXPECT_NEAR(trace.heading(998), 50 * std::atan(0.001), 1e-12);
  // The step vector is never scaled back: it grows by sqrt(1 + k^2) per turn.
  const double step = std::hypot(trace.x(998).value - trace.x(997).value,
                                 trace.y(998).value - trace.y(997).value);
  EXPECT_NEAR(step, std::pow(1 + 1e-6, 25), 1e-9);
  EXPECT_EQ(trace.x(999), kEmpty);
}

TEST(PlanTrace, AnSInTheKeywordMirrorsTheCurve) {
  for (const char* left : {"curvas4", "CURVAS4"}) {
    Seeded right(600);
    Seeded mirrored(600);
    apply_curve(right.model, right.state, "curvad4", 100, 50);
    apply_curve(mirrored.model, mirrored.state, left, 100, 50);
    for (int m = 2; m <= 150; ++m) {
      ASSERT_EQ(mirrored.x(m).value, -right.x(m).value) << left << " " << m;
      ASSERT_EQ(mirrored.y(m), right.y(m)) << left << " " << m;
    }
  }
}

struct ClassCase {
  const char* keyword;
  double curvature;
};

class CurveClass : public ::testing::TestWithParam<ClassCase> {};

TEST_P(CurveClass, TheFirstDigitFoundGivesTheCurvature) {
  Seeded trace(600);
  apply_curve(trace.model, trace.state, GetParam().keyword, 10, 1);
  EXPECT_EQ(trace.x(11), real(GetParam().curvature));
}

INSTANTIATE_TEST_SUITE_P(Cases, CurveClass,
                         ::testing::Values(ClassCase{"curvad1", 0.0001}, ClassCase{"curvad2", 0.0002},
                                           ClassCase{"curvad3", 0.0004}, ClassCase{"curvad4", 0.001},
                                           ClassCase{"curvad5", 0.002}, ClassCase{"curvad6", 0.003},
                                           ClassCase{"curvad21", 0.0001}, ClassCase{"curvad65", 0.002},
                                           ClassCase{"curvas6", -0.003}));

TEST(PlanTrace, ACurveBehindTheTracePositionBendsOnlyWhatIsLeft) {
  Seeded overlapping(600);
  apply_curve(overlapping.model, overlapping.state, "curvad4", 100, 50);
  apply_curve(overlapping.model, overlapping.state, "curvad4", 120, 50);
  Seeded joined(600);
  apply_curve(joined.model, joined.state, "curvad4", 100, 70);
  for (int m = 2; m <= 170; ++m) ASSERT_EQ(overlapping.x(m), joined.x(m)) << m;

  apply_curve(overlapping.model, overlapping.state, "curvad6", 10, 100);
  EXPECT_EQ(overlapping.state.trace_position, 171);
  EXPECT_EQ(overlapping.x(171), kEmpty);
}

TEST(PlanTrace, ACurveWithoutClassDigitIsRefused) {
  Seeded trace(600);
  const Verdict verdict = apply_curve(trace.model, trace.state, "curva", 100, 50);
  EXPECT_EQ(code_of(verdict), kTraceError);
  EXPECT_EQ(trace.state.trace_position, 2);
}

// The trace holds points up to extended_length, of which the last two stay
// empty: a curve reaching past them is refused whole.
TEST(PlanTrace, ACurveEndingBeyondTheTraceIsRefusedWhole) {
  Seeded trace(600);
  EXPECT_EQ(code_of(apply_curve(trace.model, trace.state, "curvad4", 500, 98)), 0);
  const Verdict verdict = apply_curve(trace.model, trace.state, "curvad4", 598, 1);
  EXPECT_EQ(code_of(verdict), kPositionError);
  EXPECT_EQ(detail_of(verdict),
            "curve at 598 m: its end at 599 m lies beyond the last plan trace point 598");
  EXPECT_EQ(trace.state.trace_position, 599);
}

TEST(PlanTrace, TheTraceStopsAtItsLimitOfPoints) {
  Seeded trace(1000500);
  const Verdict verdict = extend_trace(trace.model, trace.state);
  EXPECT_EQ(code_of(verdict), kTraceError);
  EXPECT_EQ(trace.y(1000000), real(1000000));
  EXPECT_EQ(trace.y(1000001), kEmpty);
  EXPECT_EQ(trace.state.trace_position, 1000001);
}

TEST(PlanTrace, TheLastPointBelowTheLimitIsComputed) {
  Seeded trace(1000001);
  const Verdict verdict = extend_trace(trace.model, trace.state);
  EXPECT_EQ(code_of(verdict), 0);
  EXPECT_EQ(trace.y(999999), real(999999));
}

}  // namespace
}  // namespace scenario
