#pragma once

#include <cairo.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace scenario::testing {

// A PNG decoded by cairo: its size and its pixels as 0xRRGGBB.
struct PngPixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> rgb;
};

inline PngPixels decode_png(std::string_view bytes) {
  struct Source {
    std::string_view bytes;
    size_t at = 0;
  } source{bytes};
  const auto read = [](void* closure, unsigned char* data, unsigned int length) {
    auto* s = static_cast<Source*>(closure);
    if (s->bytes.size() - s->at < length) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, s->bytes.data() + s->at, length);
    s->at += length;
    return CAIRO_STATUS_SUCCESS;
  };
  cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(read, &source);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    throw std::runtime_error("not a PNG");
  }
  PngPixels png{cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface), {}};
  const int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  for (int y = 0; y < png.height; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
    for (int x = 0; x < png.width; ++x) png.rgb.push_back(row[x] & 0xFFFFFFu);
  }
  cairo_surface_destroy(surface);
  return png;
}

}  // namespace scenario::testing
