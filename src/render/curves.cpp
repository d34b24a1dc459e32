#include "render/curves.h"

#include <array>
#include <cmath>
#include <optional>

#include "inspect/trace_summary.h"

namespace scenario {
namespace {

// The curvatures a curve record can give, radians per metre, and their radii.
struct CurveClass {
  double curvature;
  int32_t radius;
};
constexpr std::array<CurveClass, 6> kClasses = {
    {{0.0001, 10000}, {0.0002, 5000}, {0.0004, 2500}, {0.001, 1000}, {0.002, 500}, {0.003, 333}}};
// A step that turns less than half the gentlest class is straight.
inline constexpr double kStraight = 0.00005;

// The class nearest to the turn, signed: positive turns clockwise.
int32_t signed_radius(double turn) {
  const CurveClass* nearest = &kClasses[0];
  for (const CurveClass& c : kClasses) {
    if (std::abs(std::abs(turn) - c.curvature) < std::abs(std::abs(turn) - nearest->curvature)) nearest = &c;
  }
  return turn > 0 ? nearest->radius : -nearest->radius;
}

// The turn of the step into point m: a curved step by k maps (dx, dy) to
// (dx + k dy, dy - k dx), whose cross product with the old step is -k |d|^2.
std::optional<double> turn_at(const Trace& trace, size_t m) {
  const auto a = plan_point(trace, m - 2);
  const auto b = plan_point(trace, m - 1);
  const auto c = plan_point(trace, m);
  if (!a || !b || !c) return std::nullopt;
  const double dx = b->x - a->x;
  const double dy = b->y - a->y;
  const double ex = c->x - b->x;
  const double ey = c->y - b->y;
  const double length = dx * dx + dy * dy;
  if (length == 0) return std::nullopt;
  return -(dx * ey - dy * ex) / length;
}

}  // namespace

std::vector<Curve> curves_of(const Trace& trace) {
  std::vector<Curve> curves;
  const size_t points = std::min(trace.x.size(), trace.y.size());
  for (size_t m = 2; m < points; ++m) {
    const std::optional<double> turn = turn_at(trace, m);
    if (!turn || std::abs(*turn) < kStraight) continue;
    const int32_t radius = signed_radius(*turn);
    const auto at = static_cast<int32_t>(m);
    // Point m bends, so the curve began at the point before it.
    if (!curves.empty() && curves.back().to == at - 1 && (curves.back().right ? 1 : -1) * curves.back().radius == radius) {
      curves.back().to = at;
    } else {
      curves.push_back(Curve{at - 1, at, std::abs(radius), radius > 0});
    }
  }
  return curves;
}

}  // namespace scenario
