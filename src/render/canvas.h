#pragma once

#include <cairo.h>

#include <string>
#include <string_view>

namespace scenario {

enum class ImageFormat { kSvg, kPng, kPdf };

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
// are UTF-8 and drawn in DejaVu Sans, the font every cairo install has.
class Canvas {
 public:
  Canvas(ImageFormat format, int width, int height);
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  ~Canvas();

  cairo_t* cr() { return cr_; }
  double width() const { return width_; }
  double height() const { return height_; }

  void colour(const Colour& c) { cairo_set_source_rgba(cr_, c.r, c.g, c.b, c.a); }
  void font(double size, bool bold = false);
  double text_width(std::string_view text);
  double text_height() const { return font_size_; }
  // The box the text would fill when drawn at (x, y) with that alignment.
  Rect text_box(double x, double y, std::string_view text, Align align);
  void text(double x, double y, std::string_view text, Align align);
  // Reads upward, its anchor at the start of the text (bottom end).
  void vertical_text(double x, double y, std::string_view text);

  void line(double x0, double y0, double x1, double y1, double line_width);
  void fill_rect(const Rect& r);
  void clip(const Rect& r);
  void unclip() { cairo_reset_clip(cr_); }

  // Ends the drawing and returns the image; throws std::runtime_error when
  // cairo failed anywhere on the way.
  std::string finish();

 private:
  ImageFormat format_;
  double width_;
  double height_;
  double font_size_ = 10.0;
  std::string bytes_;
  cairo_surface_t* surface_ = nullptr;
  cairo_t* cr_ = nullptr;
};

}  // namespace scenario
