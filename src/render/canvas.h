#pragma once

#include <cairo.h>

#include <optional>
#include <string>
#include <string_view>

#include "render/drawing_options.h"

namespace scenario {

// A point on the page, in pixels from the top left corner.
struct Point {
  double x = 0.0;
  double y = 0.0;
};

struct Rect {
  double x = 0.0;
  double y = 0.0;
  double w = 0.0;
  double h = 0.0;
  double right() const { return x + w; }
  double bottom() const { return y + h; }
  bool overlaps(const Rect& other) const {
    return x < other.right() && other.x < right() && y < other.bottom() && other.y < bottom();
  }
  bool contains(const Rect& other) const {
    return other.x >= x && other.right() <= right() && other.y >= y && other.bottom() <= bottom();
  }
};

struct Colour {
  double r = 0.0;
  double g = 0.0;
  double b = 0.0;
  double a = 1.0;
};

// Where a text stands relative to its anchor point, horizontally and
// vertically: 0 left or top, 0.5 centre, 1 right or bottom.
struct Align {
  double x = 0.0;
  double y = 0.0;
};

// A cairo drawing that ends up as the bytes of an SVG, PNG or PDF image. Texts
// are UTF-8 and drawn in DejaVu Sans, the font every cairo install has. In
// an SVG they are <text> elements of our own, laid over cairo's drawing:
// cairo's SVG surface would write each glyph as an outline, which no reader
// can search or copy. A text that would stand outside the clip is left out
// in every format.
class Canvas {
 public:
  Canvas(ImageFormat format, double width, double height);
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  ~Canvas();

  cairo_t* cr() { return cr_; }
  double width() const { return width_; }
  double height() const { return height_; }

  void colour(const Colour& c) {
    colour_ = c;
    cairo_set_source_rgba(cr_, c.r, c.g, c.b, c.a);
  }
  void font(double size, bool bold = false);
  double text_width(std::string_view text);
  double text_height() const { return font_size_; }
  // The text as it is when it fits `width`, else cut to fit with an
  // ellipsis at its end (nothing when not one character fits with it).
  std::string fitted(std::string_view text, double width);
  // The box the text would fill when drawn at (x, y) with that alignment.
  Rect text_box(double x, double y, std::string_view text, Align align);
  void text(double x, double y, std::string_view text, Align align);
  // Reads upward, its anchor at the start of the text (bottom end).
  void vertical_text(double x, double y, std::string_view text);

  void line(double x0, double y0, double x1, double y1, double line_width);
  void fill_rect(const Rect& r);
  void clip(const Rect& r);
  void unclip();

  // Ends the page and begins the next one of the same size (PDF only: the
  // other formats hold one page).
  void next_page();

  // Ends the drawing and returns the image; throws std::runtime_error when
  // cairo failed anywhere on the way.
  std::string finish();

 private:
  ImageFormat format_;
  double width_;
  double height_;
  double font_size_ = 10.0;
  bool bold_ = false;
  Colour colour_;
  std::optional<Rect> clip_;
  std::string svg_texts_;  // the <text> elements, written over cairo's drawing
  std::string bytes_;
  cairo_surface_t* surface_ = nullptr;
  cairo_t* cr_ = nullptr;
};

}  // namespace scenario
