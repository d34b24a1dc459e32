#pragma once

#include <algorithm>

#include "render/canvas.h"

namespace scenario {

// Colours of the drawing, chosen to stay apart when printed in grey.
namespace palette {
inline constexpr Colour kBackground{1.0, 1.0, 1.0};
inline constexpr Colour kPanel{0.97, 0.97, 0.96};
inline constexpr Colour kFrame{0.75, 0.75, 0.75};
inline constexpr Colour kGrid{0.88, 0.88, 0.88};
inline constexpr Colour kText{0.1, 0.1, 0.1};
inline constexpr Colour kQuietText{0.4, 0.4, 0.4};
inline constexpr Colour kTrack{0.12, 0.23, 0.37};
inline constexpr Colour kRunOut{0.6, 0.6, 0.6};
inline constexpr Colour kTunnel{0.45, 0.25, 0.08};
inline constexpr Colour kSignal{0.84, 0.15, 0.16};
inline constexpr Colour kStation{0.0, 0.0, 0.0};
inline constexpr Colour kStationLine{0.3, 0.3, 0.3, 0.45};
inline constexpr Colour kGround{0.85, 0.79, 0.64};
inline constexpr Colour kGroundLine{0.55, 0.43, 0.19};
inline constexpr Colour kSpeedFill{0.80, 0.88, 0.96};
inline constexpr Colour kSpeedLine{0.12, 0.47, 0.71};
inline constexpr Colour kBoard{0.93, 0.49, 0.05};
inline constexpr Colour kSlowdown{0.84, 0.15, 0.16, 0.35};
inline constexpr Colour kSlowdownLine{0.84, 0.15, 0.16};
inline constexpr Colour kIndicationBoard{0.25, 0.45, 0.25};
inline constexpr Colour kReduction{0.46, 0.22, 0.62};
inline constexpr Colour kWarningFill{1.0, 0.85, 0.2};
inline constexpr Colour kCurve{0.55, 0.63, 0.72};
inline constexpr Colour kNumberingChange{0.84, 0.15, 0.16};
}  // namespace palette

// Sizes follow the height of the image, so that a larger image is the same
// drawing, sharper, rather than a sparser one.
struct Style {
  explicit Style(double height) : font(std::clamp(height / 80.0, 8.0, 16.0)) {}
  double font;
  double small_font() const { return font * 0.85; }
  double margin() const { return font * 1.5; }
  double line() const { return font / 6.0; }
};

}  // namespace scenario
