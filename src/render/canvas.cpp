#include "render/canvas.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "render/svg_text.h"

namespace scenario {
namespace {

cairo_status_t append_bytes(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

void check(cairo_status_t status) {
  if (status != CAIRO_STATUS_SUCCESS) throw std::runtime_error(std::string("cairo: ") + cairo_status_to_string(status));
}

// A page of width x height: SVG in pixels, PDF in points (one point a
// pixel), PNG in memory until finish(), in whole pixels.
cairo_surface_t* surface_for(ImageFormat format, double width, double height, std::string& bytes) {
  switch (format) {
    case ImageFormat::kSvg: {
      cairo_surface_t* surface = cairo_svg_surface_create_for_stream(append_bytes, &bytes, width, height);
      // Sizes are asked for in pixels; cairo's SVG default would be points.
      cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PX);
      return surface;
    }
    case ImageFormat::kPdf: return cairo_pdf_surface_create_for_stream(append_bytes, &bytes, width, height);
    case ImageFormat::kPng: break;
  }
  return cairo_image_surface_create(CAIRO_FORMAT_RGB24, static_cast<int>(std::lround(width)),
                                    static_cast<int>(std::lround(height)));
}

// Where an SVG document ends: our texts go just before it.
inline constexpr std::string_view kSvgEnd = "</svg>";
inline constexpr std::string_view kEllipsis = "\u2026";

// Bytes that continue a UTF-8 character; a text is cut only before others.
bool continues_character(char c) { return (static_cast<unsigned char>(c) & 0xC0u) == 0x80u; }

// The box in device coordinates, through the current transform.
Rect device_box(cairo_t* cr, const Rect& box) {
  double xs[] = {box.x, box.right(), box.x, box.right()};
  double ys[] = {box.y, box.y, box.bottom(), box.bottom()};
  for (int i = 0; i < 4; ++i) cairo_user_to_device(cr, &xs[i], &ys[i]);
  const auto [x0, x1] = std::minmax_element(std::begin(xs), std::end(xs));
  const auto [y0, y1] = std::minmax_element(std::begin(ys), std::end(ys));
  return Rect{*x0, *y0, *x1 - *x0, *y1 - *y0};
}

}  // namespace

Canvas::Canvas(ImageFormat format, double width, double height) : format_(format), width_(width), height_(height) {
  surface_ = surface_for(format, width, height, bytes_);
  cr_ = cairo_create(surface_);
  check(cairo_status(cr_));
  cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
}

Canvas::~Canvas() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

void Canvas::font(double size, bool bold) {
  font_size_ = size;
  bold_ = bold;
  cairo_select_font_face(cr_, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr_, size);
}

double Canvas::text_width(std::string_view text) {
  const std::string s(text);
  cairo_text_extents_t extents;
  cairo_text_extents(cr_, s.c_str(), &extents);
  return extents.x_advance;
}

// The box spans the font's cap height rather than its full extents, so that
// aligned texts sit visually centred on their anchors.
Rect Canvas::text_box(double x, double y, std::string_view text, Align align) {
  const double w = text_width(text);
  const double h = font_size_ * 0.75;
  return Rect{x - w * align.x, y - h * align.y, w, h};
}

std::string Canvas::fitted(std::string_view text, double width) {
  if (text_width(text) <= width) return std::string(text);
  // The longest prefix that fits with the ellipsis, found by halving.
  size_t fits = 0;
  size_t too_long = text.size();
  while (too_long - fits > 1) {
    size_t middle = fits + (too_long - fits) / 2;
    while (middle > fits && continues_character(text[middle])) --middle;
    if (middle == fits) break;
    std::string candidate(text.substr(0, middle));
    candidate += kEllipsis;
    (text_width(candidate) <= width ? fits : too_long) = middle;
  }
  if (fits == 0) return {};
  return std::string(text.substr(0, fits)) + std::string(kEllipsis);
}

void Canvas::text(double x, double y, std::string_view text, Align align) {
  const Rect box = text_box(x, y, text, align);
  if (clip_ && !clip_->contains(device_box(cr_, box))) return;
  if (format_ == ImageFormat::kSvg) {
    SvgText element{.text = text, .x = box.x, .y = box.bottom(), .size = font_size_, .bold = bold_, .colour = colour_};
    cairo_get_matrix(cr_, &element.transform);
    svg_texts_ += svg_text_element(element);
    return;
  }
  const std::string s(text);
  cairo_move_to(cr_, box.x, box.bottom());
  cairo_show_text(cr_, s.c_str());
  cairo_new_path(cr_);
}

void Canvas::vertical_text(double x, double y, std::string_view text) {
  cairo_save(cr_);
  cairo_translate(cr_, x, y);
  cairo_rotate(cr_, -std::numbers::pi / 2);
  this->text(0, 0, text, Align{0.0, 0.5});
  cairo_restore(cr_);
}

void Canvas::line(double x0, double y0, double x1, double y1, double line_width) {
  cairo_set_line_width(cr_, line_width);
  cairo_move_to(cr_, x0, y0);
  cairo_line_to(cr_, x1, y1);
  cairo_stroke(cr_);
}

void Canvas::fill_rect(const Rect& r) {
  cairo_rectangle(cr_, r.x, r.y, r.w, r.h);
  cairo_fill(cr_);
}

// Texts test themselves against the clip with a hair of slack: one set
// exactly on its edge is inside.
void Canvas::clip(const Rect& r) {
  cairo_rectangle(cr_, r.x, r.y, r.w, r.h);
  cairo_clip(cr_);
  constexpr double kSlack = 0.01;
  clip_ = device_box(cr_, Rect{r.x - kSlack, r.y - kSlack, r.w + 2 * kSlack, r.h + 2 * kSlack});
}

void Canvas::unclip() {
  cairo_reset_clip(cr_);
  clip_.reset();
}

void Canvas::next_page() { cairo_show_page(cr_); }

std::string Canvas::finish() {
  check(cairo_status(cr_));
  cairo_surface_flush(surface_);
  if (format_ == ImageFormat::kPng) check(cairo_surface_write_to_png_stream(surface_, append_bytes, &bytes_));
  cairo_surface_finish(surface_);
  check(cairo_surface_status(surface_));
  if (format_ == ImageFormat::kSvg) {
    const size_t end = bytes_.rfind(kSvgEnd);
    if (end == std::string::npos) throw std::runtime_error("cairo: the SVG document has no end");
    bytes_.insert(end, svg_texts_);
  }
  return std::move(bytes_);
}

}  // namespace scenario
