#pragma once

#include <cairo.h>

#include <string>
#include <string_view>

#include "render/canvas.h"

namespace scenario {

// One text of an SVG drawing: its UTF-8 characters, where its baseline
// begins (in the coordinates of `transform`), and how it looks.
struct SvgText {
  std::string_view text;
  double x = 0.0;
  double y = 0.0;
  cairo_matrix_t transform{1, 0, 0, 1, 0, 0};
  double size = 10.0;
  bool bold = false;
  Colour colour;
};

// The text as character data of an XML element: markup characters as
// entities, and the control characters XML cannot hold as U+FFFD.
std::string xml_escaped(std::string_view text);

// A <text> element, with a transform only when it is not the identity.
std::string svg_text_element(const SvgText& text);

}  // namespace scenario
