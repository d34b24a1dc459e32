#include "render/profile_legend.h"

#include <optional>
#include <vector>

#include "render/profile_parts.h"

namespace scenario {
namespace {

// In font sizes: the height of a line of the legend, the half size of a
// symbol, and the gaps after a symbol and after an item's text.
inline constexpr double kLine = 1.5;
inline constexpr double kMarkHalfSize = 0.35;
inline constexpr double kAfterMark = 0.4;
inline constexpr double kAfterItem = 1.2;

struct Item {
  std::optional<Symbol> symbol;
  Colour swatch;
  const char* text;
};

const Item kItems[] = {
    {std::nullopt, palette::kSpeedFill, "line speed limit"},
    {std::nullopt, palette::kSlowdown, "slowdown"},
    {Symbol::kWarningBoard, {}, "slowdown warning board"},
    {Symbol::kSpeedBoard, {}, "speed board"},
    {Symbol::kAnnouncingBoard, {}, "announcing board"},
    {Symbol::kIndicationBoard, {}, "indication board"},
    {Symbol::kReductionPoint, {}, "speed reduction point"},
    {Symbol::kCompilersReductionPoint, {}, "added by the compiler"},
    {Symbol::kSignal, {}, "signal"},
    {std::nullopt, palette::kCurve, "curve (left above, right below; radius in m)"},
    {std::nullopt, palette::kTunnel, "tunnel"},
};

double item_width(Canvas& canvas, const Style& style, const Item& item) {
  return style.font * (2 * kMarkHalfSize + kAfterMark) + canvas.text_width(item.text);
}

// Where each item begins, from the top left corner of the legend.
std::vector<Point> layout(Canvas& canvas, const Style& style, double width) {
  canvas.font(style.small_font());
  std::vector<Point> at;
  Point next{0, 0};
  for (const Item& item : kItems) {
    const double w = item_width(canvas, style, item);
    if (next.x > 0 && next.x + w > width) next = Point{0, next.y + style.font * kLine};
    at.push_back(next);
    next.x += w + style.font * kAfterItem;
  }
  return at;
}

}  // namespace

double profile_legend_height(Canvas& canvas, const Style& style, double width) {
  return layout(canvas, style, width).back().y + style.font * kLine;
}

void draw_profile_legend(Canvas& canvas, const Style& style, const Rect& band) {
  const std::vector<Point> at = layout(canvas, style, band.w);
  const double size = style.font * kMarkHalfSize;
  for (size_t i = 0; i < at.size(); ++i) {
    const Item& item = kItems[i];
    const double x = band.x + at[i].x + size;
    const double y = band.y + at[i].y + style.font * kLine / 2;
    if (item.symbol) {
      draw_symbol(canvas, style, *item.symbol, x, y, size);
    } else {
      canvas.colour(item.swatch);
      canvas.fill_rect(Rect{x - size, y - size, size * 2, size * 2});
    }
    canvas.font(style.small_font());
    canvas.colour(palette::kText);
    canvas.text(x + size + style.font * kAfterMark, y, item.text, Align{0.0, 0.5});
  }
}

}  // namespace scenario
