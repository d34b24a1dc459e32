#include "render/canvas.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>

#include <numbers>
#include <stdexcept>

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
// pixel), PNG in memory until finish().
cairo_surface_t* surface_for(ImageFormat format, int width, int height, std::string& bytes) {
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
  return cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
}

}  // namespace

Canvas::Canvas(ImageFormat format, int width, int height) : format_(format), width_(width), height_(height) {
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

void Canvas::text(double x, double y, std::string_view text, Align align) {
  const Rect box = text_box(x, y, text, align);
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

void Canvas::clip(const Rect& r) {
  cairo_rectangle(cr_, r.x, r.y, r.w, r.h);
  cairo_clip(cr_);
}

std::string Canvas::finish() {
  check(cairo_status(cr_));
  cairo_surface_flush(surface_);
  if (format_ == ImageFormat::kPng) check(cairo_surface_write_to_png_stream(surface_, append_bytes, &bytes_));
  cairo_surface_finish(surface_);
  check(cairo_surface_status(surface_));
  return std::move(bytes_);
}

}  // namespace scenario
