#include "render/svg_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace scenario {
namespace {

inline constexpr char kFontFamily[] = "DejaVu Sans, Verdana, sans-serif";
inline constexpr char kReplacement[] = "\uFFFD";

std::string number(double v) {
  if (std::abs(v) < 0.005) v = 0.0;  // never "-0"
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", v);
  return text;
}

int channel(double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); }

bool identity(const cairo_matrix_t& m) {
  return m.xx == 1 && m.yx == 0 && m.xy == 0 && m.yy == 1 && m.x0 == 0 && m.y0 == 0;
}

}  // namespace

std::string xml_escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') {
          out += kReplacement;
        } else {
          out += c;
        }
    }
  }
  return out;
}

std::string svg_text_element(const SvgText& t) {
  std::string e = "<text x=\"" + number(t.x) + "\" y=\"" + number(t.y) + "\"";
  if (!identity(t.transform)) {
    const cairo_matrix_t& m = t.transform;
    e += " transform=\"matrix(" + number(m.xx) + " " + number(m.yx) + " " + number(m.xy) + " " + number(m.yy) + " " +
         number(m.x0) + " " + number(m.y0) + ")\"";
  }
  e += " font-family=\"";
  e += kFontFamily;
  e += "\" font-size=\"" + number(t.size) + "\"";
  if (t.bold) e += " font-weight=\"bold\"";
  e += " fill=\"rgb(" + std::to_string(channel(t.colour.r)) + "," + std::to_string(channel(t.colour.g)) + "," +
       std::to_string(channel(t.colour.b)) + ")\"";
  if (t.colour.a < 1.0) e += " fill-opacity=\"" + number(t.colour.a) + "\"";
  e += " xml:space=\"preserve\">" + xml_escaped(t.text) + "</text>\n";
  return e;
}

}  // namespace scenario
