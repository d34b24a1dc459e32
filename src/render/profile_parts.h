#pragma once

#include <string>

#include "render/canvas.h"
#include "render/style.h"

namespace scenario {

// Route metres to page x: the drawn span, `from` metres on, fills the width.
struct Axis {
  double left = 0.0;
  double width = 0.0;
  double from = 0.0;
  double length = 1.0;
  double x(double metres) const { return left + (metres - from) / length * width; }
};

// The symbols of the profile, drawn the same in their bands and in the
// legend, centred on (x, y) within a box of 2 x size.
enum class Symbol {
  kSpeedBoard,
  kAnnouncingBoard,
  kIndicationBoard,
  kWarningBoard,
  kReductionPoint,
  kCompilersReductionPoint,
  kSignal,
};

void draw_symbol(Canvas& canvas, const Style& style, Symbol symbol, double x, double y, double size);

// A band's title in the margin left of the axis, vertically centred on the band.
void margin_title(Canvas& canvas, const Style& style, const Rect& band, double axis_left, const std::string& title);

}  // namespace scenario
