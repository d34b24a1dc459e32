#include "render/track_bands.h"

#include <algorithm>
#include <string>
#include <vector>

#include "render/label_placer.h"

namespace scenario {
namespace {

// In font sizes: the signal symbol's half size and how far its foot stands
// above the band's bottom; its label starts kSignalLabelGap above the lamp
// and moves aside by these shares of its thickness when it meets another.
inline constexpr double kSignalHalfSize = 0.45;
inline constexpr double kSignalFoot = 0.3;
inline constexpr double kSignalLabelGap = 0.3;
inline constexpr double kSignalLabelShifts[] = {0.0, -0.6, 0.6};
// A curve's block is this share of half the band high; a tunnel's this many
// font sizes, and at least a pixel wide.
inline constexpr double kCurveShare = 0.5;
inline constexpr double kTunnelHalfHeight = 0.3;
inline constexpr double kNarrowest = 1.0;
inline constexpr double kCentreLineWidth = 0.6;
inline constexpr double kRadiusLabelGap = 0.2;

}  // namespace

void draw_signals_band(Canvas& canvas, const Style& style, const Axis& axis, const RouteFacts& facts, const Rect& band) {
  margin_title(canvas, style, band, axis.left, "signals, m");
  const double size = style.font * kSignalHalfSize;
  const double centre = band.bottom() - style.font * kSignalFoot - size;
  const double foot = centre - size - style.font * kSignalLabelGap;
  canvas.font(style.small_font());
  const double thickness = canvas.text_height();
  LabelPlacer placer(Rect{axis.left - thickness, band.y, axis.width + 2 * thickness, foot - band.y});
  for (const int32_t position : facts.signals) {
    const double x = axis.x(position);
    draw_symbol(canvas, style, Symbol::kSignal, x, centre, size);
    const std::string label = std::to_string(position);
    const double length = canvas.text_width(label);
    std::vector<Rect> candidates;
    for (const double shift : kSignalLabelShifts) {
      candidates.push_back(Rect{x + shift * thickness - thickness / 2, foot - length, thickness, length});
    }
    if (const auto chosen = placer.place(candidates)) {
      canvas.colour(palette::kSignal);
      canvas.vertical_text(candidates[*chosen].x + thickness / 2, foot, label);
    }
  }
}

void draw_track_band(Canvas& canvas, const Style& style, const Axis& axis, const RouteFacts& facts, const Rect& band) {
  margin_title(canvas, style, band, axis.left, "track");
  const double centre = band.y + band.h / 2;
  const double reach = band.h / 2 * kCurveShare;
  canvas.colour(palette::kFrame);
  canvas.line(axis.left, centre, axis.left + axis.width, centre, style.line() * kCentreLineWidth);
  canvas.font(style.small_font());
  for (const Curve& curve : facts.curves) {
    const double x0 = axis.x(std::max<double>(curve.from, facts.from));
    const double x1 = std::max(axis.x(std::min<double>(curve.to, facts.to)), x0 + kNarrowest);
    canvas.colour(palette::kCurve);
    canvas.fill_rect(Rect{x0, curve.right ? centre : centre - reach, x1 - x0, reach});
    const std::string label = "R" + std::to_string(curve.radius);
    if (canvas.text_width(label) > x1 - x0) continue;
    const double gap = style.font * kRadiusLabelGap;
    canvas.colour(palette::kQuietText);
    canvas.text((x0 + x1) / 2, curve.right ? centre + reach + gap : centre - reach - gap, label,
                Align{0.5, curve.right ? 0.0 : 1.0});
  }
  const double half = style.font * kTunnelHalfHeight;
  canvas.colour(palette::kTunnel);
  for (const Stretch& tunnel : facts.tunnels) {
    const double x0 = axis.x(tunnel.from);
    const double x1 = std::max(axis.x(tunnel.to), x0 + kNarrowest);
    canvas.fill_rect(Rect{x0, centre - half, x1 - x0, 2 * half});
  }
}

}  // namespace scenario
