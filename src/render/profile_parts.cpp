#include "render/profile_parts.h"

#include <numbers>

namespace scenario {
namespace {

// Shapes in their half size: an indication board is a box wider than high,
// a reduction point a diamond narrower than high, a signal a lamp on a mast.
inline constexpr double kSymbolOutline = 1.2;
inline constexpr double kIndicationHalfWidth = 0.8;
inline constexpr double kIndicationHalfHeight = 0.6;
inline constexpr double kReductionHalfWidth = 0.7;
inline constexpr double kLampRadius = 0.45;
inline constexpr double kMastWidth = 1.5;
// The margin title stands this many font sizes left of the axis.
inline constexpr double kMarginTitleGap = 1.4;

void triangle_down(cairo_t* cr, double x, double y, double size) {
  cairo_move_to(cr, x, y + size);
  cairo_line_to(cr, x - size, y - size);
  cairo_line_to(cr, x + size, y - size);
  cairo_close_path(cr);
}

void diamond(cairo_t* cr, double x, double y, double size) {
  cairo_move_to(cr, x, y - size);
  cairo_line_to(cr, x + size * kReductionHalfWidth, y);
  cairo_line_to(cr, x, y + size);
  cairo_line_to(cr, x - size * kReductionHalfWidth, y);
  cairo_close_path(cr);
}

void signal(Canvas& canvas, const Style& style, double x, double y, double size) {
  canvas.colour(palette::kSignal);
  canvas.line(x, y + size, x, y - size * (1 - kLampRadius), style.line() * kMastWidth);
  cairo_arc(canvas.cr(), x, y - size * (1 - kLampRadius), size * kLampRadius, 0, 2 * std::numbers::pi);
  cairo_fill(canvas.cr());
}

}  // namespace

void draw_symbol(Canvas& canvas, const Style& style, Symbol symbol, double x, double y, double size) {
  cairo_t* cr = canvas.cr();
  switch (symbol) {
    case Symbol::kSpeedBoard:
    case Symbol::kAnnouncingBoard:
      triangle_down(cr, x, y, size);
      canvas.colour(palette::kBoard);
      // The board where the speed applies is solid, those announcing it hollow.
      if (symbol == Symbol::kSpeedBoard) cairo_fill_preserve(cr);
      break;
    case Symbol::kIndicationBoard:
      cairo_rectangle(cr, x - size * kIndicationHalfWidth, y - size * kIndicationHalfHeight,
                      size * (2 * kIndicationHalfWidth), size * (2 * kIndicationHalfHeight));
      canvas.colour(palette::kIndicationBoard);
      cairo_fill_preserve(cr);
      break;
    case Symbol::kWarningBoard:
      cairo_rectangle(cr, x - size, y - size, 2 * size, 2 * size);
      canvas.colour(palette::kWarningFill);
      cairo_fill_preserve(cr);
      canvas.colour(palette::kSlowdownLine);
      break;
    case Symbol::kReductionPoint:
    case Symbol::kCompilersReductionPoint:
      diamond(cr, x, y, size);
      // The author's points are solid; those the compiler added are hollow.
      canvas.colour(symbol == Symbol::kReductionPoint ? palette::kReduction : palette::kBackground);
      cairo_fill_preserve(cr);
      canvas.colour(palette::kReduction);
      break;
    case Symbol::kSignal: signal(canvas, style, x, y, size); return;
  }
  cairo_set_line_width(cr, style.line() * kSymbolOutline);
  cairo_stroke(cr);
}

void margin_title(Canvas& canvas, const Style& style, const Rect& band, double axis_left, const std::string& title) {
  canvas.font(style.small_font(), true);
  canvas.colour(palette::kQuietText);
  canvas.text(axis_left - style.font * kMarginTitleGap, band.y + band.h / 2, title, Align{1.0, 0.5});
}

}  // namespace scenario
