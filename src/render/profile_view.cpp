#include "render/profile_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "render/kilometre_posts.h"
#include "render/label_placer.h"
#include "render/nice_numbers.h"

namespace scenario {
namespace {

inline constexpr double kMetresPerKilometre = 1000.0;
inline constexpr double kPerMille = 1000.0;

// The bands of the profile, top to bottom.
struct ProfileBands {
  Rect names;
  Rect height;
  Rect speed;
  Rect distance;
  Rect posts;
};

// Route metres to page x.
struct Axis {
  double left = 0.0;
  double width = 0.0;
  double length = 1.0;
  double x(double metres) const { return left + metres / length * width; }
};

// Decimals a value printed at this step needs: none for whole steps, up to
// three for steps of a thousandth.
int decimals_for(double step) {
  int decimals = 0;
  while (decimals < 3 &&
         std::abs(step * std::pow(10.0, decimals) - std::round(step * std::pow(10.0, decimals))) > 1e-9) {
    ++decimals;
  }
  return decimals;
}

std::string number_text(double value, double step) {
  if (std::abs(value) < step / 2) value = 0.0;  // never "-0"
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals_for(step), value);
  return text;
}

// Kilometres with as many decimals as the step needs ("12", "0.25").
std::string kilometres_text(double metres, double step) {
  return number_text(metres / kMetresPerKilometre, step / kMetresPerKilometre);
}

double longest_name(Canvas& canvas, const RouteFacts& facts) {
  double longest = 0;
  for (const Station& s : facts.stations) longest = std::max(longest, canvas.text_width(s.name));
  return longest;
}

ProfileBands bands(Canvas& canvas, const Style& style, const RouteFacts& facts, const Rect& area) {
  canvas.font(style.small_font());
  const double names = std::min(longest_name(canvas, facts) + style.font, area.h * 0.3);
  const double distance = style.font * 2.2;
  const double posts = style.font * 2.6;
  const double strips = std::max(area.h - names - distance - posts, 0.0);
  const double height = strips * 0.45;
  ProfileBands b;
  b.names = Rect{area.x, area.y, area.w, names};
  b.height = Rect{area.x, b.names.bottom(), area.w, height};
  b.speed = Rect{area.x, b.height.bottom(), area.w, strips - height};
  b.distance = Rect{area.x, b.speed.bottom(), area.w, distance};
  b.posts = Rect{area.x, b.distance.bottom(), area.w, posts};
  return b;
}

void band_title(Canvas& canvas, const Style& style, const Rect& band, const std::string& title) {
  canvas.font(style.small_font(), true);
  canvas.colour(palette::kQuietText);
  canvas.text(band.x + style.font * 0.5, band.y + style.font * 0.5, title, Align{0.0, 0.0});
}

void margin_title(Canvas& canvas, const Style& style, const Rect& band, double axis_left, const std::string& title) {
  canvas.font(style.small_font(), true);
  canvas.colour(palette::kQuietText);
  canvas.text(axis_left - style.font * 1.4, band.y + band.h / 2, title, Align{1.0, 0.5});
}

// Value ticks on the left edge of a strip, at nice steps.
void value_ticks(Canvas& canvas, const Style& style, const Axis& axis, double low, double high,
                 const std::function<double(double)>& y) {
  const double step = nice_at_least((high - low) / 4);
  canvas.font(style.small_font());
  for (double v = std::ceil(low / step) * step; v <= high; v += step) {
    canvas.colour(palette::kGrid);
    canvas.line(axis.left, y(v), axis.left + axis.width, y(v), style.line() * 0.6);
    canvas.colour(palette::kQuietText);
    canvas.text(axis.left - style.font * 0.4, y(v), number_text(v, step), Align{1.0, 0.5});
  }
}

// Heights relative to the origin, from the gradient of each stretch.
std::vector<double> heights(const std::vector<Stretch>& gradients) {
  std::vector<double> h{0.0};
  for (const Stretch& s : gradients) h.push_back(h.back() + s.value * (s.to - s.from) / kPerMille);
  return h;
}

std::string gradient_text(int value) { return value > 0 ? "+" + std::to_string(value) : std::to_string(value); }

void draw_height(Canvas& canvas, const Style& style, const Axis& axis, const RouteFacts& facts, const Rect& band) {
  band_title(canvas, style, band, "Height from the gradients (m); gradient of each stretch in \u2030");
  if (facts.gradients.empty()) return;
  const std::vector<double> h = heights(facts.gradients);
  const auto [low_it, high_it] = std::minmax_element(h.begin(), h.end());
  const double pad = std::max((*high_it - *low_it) * 0.15, 1.0);
  const double low = *low_it - pad;
  const double high = *high_it + pad;
  const double top = band.y + style.font * 1.8;
  const double bottom = band.bottom() - style.font * 1.6;
  const auto y = [&](double v) { return bottom - (v - low) / (high - low) * (bottom - top); };
  value_ticks(canvas, style, axis, low, high, y);
  cairo_move_to(canvas.cr(), axis.x(facts.gradients.front().from), bottom);
  for (size_t i = 0; i < facts.gradients.size(); ++i) {
    cairo_line_to(canvas.cr(), axis.x(facts.gradients[i].from), y(h[i]));
  }
  cairo_line_to(canvas.cr(), axis.x(facts.gradients.back().to), y(h.back()));
  cairo_line_to(canvas.cr(), axis.x(facts.gradients.back().to), bottom);
  cairo_close_path(canvas.cr());
  canvas.colour(palette::kGround);
  cairo_fill_preserve(canvas.cr());
  canvas.colour(palette::kGroundLine);
  cairo_set_line_width(canvas.cr(), style.line() * 1.5);
  cairo_stroke(canvas.cr());
  // Gradient values under the stretches wide enough to hold them.
  canvas.font(style.small_font());
  for (const Stretch& s : facts.gradients) {
    const std::string text = gradient_text(s.value);
    const double x0 = axis.x(s.from);
    const double x1 = axis.x(s.to);
    canvas.colour(palette::kGroundLine);
    canvas.line(x0, bottom, x0, bottom + style.font * 0.5, style.line());
    if (x1 - x0 < canvas.text_width(text) + style.font * 0.4) continue;
    canvas.colour(palette::kText);
    canvas.text((x0 + x1) / 2, bottom + style.font * 0.8, text, Align{0.5, 0.5});
  }
}

// The symbols of the speed strip, drawn the same in the strip and in its
// legend, centred on (x, y) within a box of 2 x size.
enum class Symbol { kSpeedBoard, kAnnouncingBoard, kIndicationBoard, kReductionPoint };

void draw_symbol(Canvas& canvas, const Style& style, Symbol symbol, double x, double y, double size) {
  cairo_t* cr = canvas.cr();
  switch (symbol) {
    case Symbol::kSpeedBoard:
    case Symbol::kAnnouncingBoard:
      cairo_move_to(cr, x, y + size);
      cairo_line_to(cr, x - size, y - size);
      cairo_line_to(cr, x + size, y - size);
      cairo_close_path(cr);
      canvas.colour(palette::kBoard);
      // The board where the speed applies is solid, those announcing it hollow.
      if (symbol == Symbol::kSpeedBoard) cairo_fill_preserve(cr);
      break;
    case Symbol::kIndicationBoard:
      cairo_rectangle(cr, x - size * 0.8, y - size * 0.6, size * 1.6, size * 1.2);
      canvas.colour(palette::kIndicationBoard);
      cairo_fill_preserve(cr);
      break;
    case Symbol::kReductionPoint:
      cairo_move_to(cr, x, y - size);
      cairo_line_to(cr, x + size * 0.7, y);
      cairo_line_to(cr, x, y + size);
      cairo_line_to(cr, x - size * 0.7, y);
      cairo_close_path(cr);
      canvas.colour(palette::kReduction);
      cairo_fill_preserve(cr);
      break;
  }
  cairo_set_line_width(cr, style.line() * 1.2);
  cairo_stroke(cr);
}

// The speed steps as boxes no board label may cover.
void block_steps(LabelPlacer& placer, const Axis& axis, const RouteFacts& facts, const std::function<double(double)>& y,
                 double thickness) {
  double previous = y(0);
  for (const Stretch& s : facts.speed_limits) {
    const double level = y(s.value);
    placer.block(Rect{axis.x(s.from) - thickness, std::min(level, previous) - thickness, 2 * thickness,
                      std::abs(level - previous) + 2 * thickness});
    placer.block(Rect{axis.x(s.from), level - thickness, axis.x(s.to) - axis.x(s.from), 2 * thickness});
    previous = level;
  }
}

// Above the board, then below it, then beside it.
std::vector<Rect> board_label_candidates(Canvas& canvas, const Style& style, double x, double top, double size,
                                         const std::string& text) {
  std::vector<Rect> candidates;
  for (int level = 0; level < 3; ++level) {
    candidates.push_back(canvas.text_box(x, top - style.font * (0.3 + level), text, Align{0.5, 1.0}));
  }
  for (int level = 0; level < 2; ++level) {
    candidates.push_back(canvas.text_box(x, top + size * 2 + style.font * (0.3 + level), text, Align{0.5, 0.0}));
  }
  candidates.push_back(canvas.text_box(x - size * 1.5, top + size, text, Align{1.0, 0.5}));
  candidates.push_back(canvas.text_box(x + size * 1.5, top + size, text, Align{0.0, 0.5}));
  return candidates;
}

void draw_speed_boards(Canvas& canvas, const Style& style, const Axis& axis, const RouteFacts& facts,
                       const std::function<double(double)>& y, const Rect& band) {
  LabelPlacer placer(band, style.font * 0.15);
  block_steps(placer, axis, facts, y, style.line() * 2);
  const double size = style.font * 0.45;
  const auto board_top = [&](const DrawnSpeedBoard& board) { return y(board.speed) - size * 2.2; };
  for (const DrawnSpeedBoard& board : facts.speed_boards) {
    const double x = axis.x(board.position);
    const double top = board_top(board);
    draw_symbol(canvas, style, board.stripes == 0 ? Symbol::kSpeedBoard : Symbol::kAnnouncingBoard, x, top + size,
                size);
    placer.block(Rect{x - size, top, 2 * size, 2 * size});
  }
  canvas.font(style.small_font() * 0.9);
  // Boards where the speed applies are labelled first; the boards announcing
  // them carry the same speed and give way when room is short.
  for (const bool announcing : {false, true}) {
    for (const DrawnSpeedBoard& board : facts.speed_boards) {
      if ((board.stripes != 0) != announcing) continue;
      const std::string text = std::to_string(board.speed);
      const std::vector<Rect> candidates =
          board_label_candidates(canvas, style, axis.x(board.position), board_top(board), size, text);
      if (const auto chosen = placer.place(candidates)) {
        canvas.colour(palette::kBoard);
        canvas.text(candidates[*chosen].x, candidates[*chosen].y, text, Align{0.0, 0.0});
      }
    }
  }
}

// The steps of the line speed limit as one path, left to right.
void speed_path(Canvas& canvas, const Axis& axis, const RouteFacts& facts, const std::function<double(double)>& y) {
  for (const Stretch& s : facts.speed_limits) {
    cairo_line_to(canvas.cr(), axis.x(s.from), y(s.value));
    cairo_line_to(canvas.cr(), axis.x(s.to), y(s.value));
  }
}

// The fastest speed the strip shows: line limits, boards and slowdowns.
int fastest_speed(const RouteFacts& facts) {
  int fastest = 0;
  for (const Stretch& s : facts.speed_limits) fastest = std::max(fastest, s.value);
  for (const DrawnSpeedBoard& b : facts.speed_boards) fastest = std::max(fastest, b.speed);
  for (const Stretch& s : facts.slowdowns) fastest = std::max(fastest, s.value);
  return fastest;
}

// Over the speed fill: a slowdown is a tinted block up to its speed, with its
// speed as a line across it and its number above.
void draw_slowdowns(Canvas& canvas, const Style& style, const Axis& axis, const RouteFacts& facts,
                    const std::function<double(double)>& y, double bottom) {
  for (const Stretch& s : facts.slowdowns) {
    const double x0 = axis.x(s.from);
    const double x1 = std::max(axis.x(s.to), x0 + 1.0);
    canvas.colour(palette::kSlowdown);
    canvas.fill_rect(Rect{x0, y(s.value), x1 - x0, bottom - y(s.value)});
    canvas.colour(palette::kSlowdownLine);
    canvas.line(x0, y(s.value), x1, y(s.value), style.line() * 2);
    canvas.font(style.small_font() * 0.9);
    canvas.text((x0 + x1) / 2, y(s.value) - style.font * 0.3, std::to_string(s.value), Align{0.5, 1.0});
  }
}

// Indication boards and speed reduction points in a row of their own above
// the speed scale.
void draw_lineside_marks(Canvas& canvas, const Style& style, const Axis& axis, const RouteFacts& facts, double row) {
  const double size = style.font * 0.35;
  for (const int32_t board : facts.indication_boards) {
    draw_symbol(canvas, style, Symbol::kIndicationBoard, axis.x(board), row, size);
  }
  for (const int32_t point : facts.reduction_points) {
    draw_symbol(canvas, style, Symbol::kReductionPoint, axis.x(point), row + size * 2.5, size);
  }
}

// What the symbols and colours of the speed strip stand for, right-aligned on
// the strip's title line from `left` on. On a narrow page the items that do
// not fit are left out from the left: the rightmost matter most.
void draw_legend(Canvas& canvas, const Style& style, const Rect& band, double left) {
  struct Item {
    std::optional<Symbol> symbol;
    Colour swatch;
    const char* text;
  };
  const Item items[] = {
      {std::nullopt, palette::kSpeedFill, "line speed limit"},
      {Symbol::kAnnouncingBoard, {}, "announcing board"},
      {Symbol::kSpeedBoard, {}, "speed board"},
      {Symbol::kIndicationBoard, {}, "indication board"},
      {Symbol::kReductionPoint, {}, "speed reduction point"},
      {std::nullopt, palette::kSlowdown, "slowdown"},
  };
  canvas.font(style.small_font());
  const double size = style.font * 0.35;
  const double y = band.y + style.font * 0.9;
  double x = band.right() - style.font * 0.5;
  for (auto item = std::rbegin(items); item != std::rend(items); ++item) {
    const double width = canvas.text_width(item->text) + size * 3;
    if (x - width < left) break;
    canvas.colour(palette::kText);
    canvas.text(x, y, item->text, Align{1.0, 0.5});
    x -= width - size;
    if (item->symbol) {
      draw_symbol(canvas, style, *item->symbol, x, y, size);
    } else {
      canvas.colour(item->swatch);
      canvas.fill_rect(Rect{x - size, y - size, size * 2, size * 2});
    }
    x -= size * 2 + style.font;
  }
}

void draw_speed(Canvas& canvas, const Style& style, const Axis& axis, const RouteFacts& facts, const Rect& band) {
  const std::string title = "Speed, km/h";
  band_title(canvas, style, band, title);
  draw_legend(canvas, style, band, band.x + style.font * 1.5 + canvas.text_width(title));
  const double top = band.y + style.font * 4.5;
  const double bottom = band.bottom() - style.font * 0.5;
  const double high = std::max(fastest_speed(facts), 10);
  const auto y = [&](double v) { return bottom - v / high * (bottom - top); };
  value_ticks(canvas, style, axis, 0, high, y);
  draw_lineside_marks(canvas, style, axis, facts, band.y + style.font * 2.2);
  if (!facts.speed_limits.empty()) {
    cairo_move_to(canvas.cr(), axis.x(facts.speed_limits.front().from), bottom);
    speed_path(canvas, axis, facts, y);
    cairo_line_to(canvas.cr(), axis.x(facts.speed_limits.back().to), bottom);
    cairo_close_path(canvas.cr());
    canvas.colour(palette::kSpeedFill);
    cairo_fill(canvas.cr());
  }
  draw_slowdowns(canvas, style, axis, facts, y, bottom);
  if (!facts.speed_limits.empty()) {
    speed_path(canvas, axis, facts, y);
    canvas.colour(palette::kSpeedLine);
    cairo_set_line_width(canvas.cr(), style.line() * 2);
    cairo_stroke(canvas.cr());
  }
  draw_speed_boards(canvas, style, axis, facts, y, band);
}

void draw_distance_axis(Canvas& canvas, const Style& style, const Axis& axis, const RouteFacts& facts,
                        const Rect& band) {
  margin_title(canvas, style, band, axis.left, "distance, km");
  canvas.font(style.small_font());
  const double step = nice_at_least(facts.route_length * canvas.text_width("000.0") * 2.5 / axis.width);
  canvas.colour(palette::kText);
  canvas.line(axis.left, band.y, axis.left + axis.width, band.y, style.line());
  for (double m = 0; m <= facts.route_length; m += step) {
    const double x = axis.x(m);
    canvas.line(x, band.y, x, band.y + style.font * 0.5, style.line());
    canvas.text(x, band.y + style.font * 0.7, kilometres_text(m, step), Align{0.5, 0.0});
  }
}

void draw_posts(Canvas& canvas, const Style& style, const Axis& axis, const std::array<Entry, kEntryCount>& entries,
                const RouteFacts& facts, const Rect& band) {
  margin_title(canvas, style, band, axis.left, "km posts");
  const std::vector<KilometrePost> posts = kilometre_posts(entries, 0, facts.route_length);
  canvas.font(style.small_font());
  const double per_post = axis.width * kMetresPerKilometre / std::max(facts.route_length, 1);
  const auto every = static_cast<int64_t>(nice_at_least(canvas.text_width("0000") * 1.5 / per_post));
  const double tick = band.y + style.font * 0.6;
  LabelPlacer placer(band);
  for (const int32_t change : numbering_changes(entries, 0, facts.route_length)) {
    canvas.colour(palette::kNumberingChange);
    canvas.line(axis.x(change), band.y, axis.x(change), band.bottom(), style.line() * 1.5);
  }
  for (const KilometrePost& post : posts) {
    const double x = axis.x(post.position);
    const bool labelled = post.kilometre % std::max<int64_t>(every, 1) == 0;
    canvas.colour(palette::kText);
    canvas.line(x, band.y, x, labelled ? tick : band.y + style.font * 0.3, style.line());
    if (!labelled) continue;
    const std::string text = std::to_string(post.kilometre);
    const std::vector<Rect> candidates{canvas.text_box(x, tick + style.font * 0.2, text, Align{0.5, 0.0})};
    if (placer.place(candidates)) canvas.text(candidates[0].x, candidates[0].y, text, Align{0.0, 0.0});
  }
}

// Names read upward from the top of the strips; a name that would cover its
// neighbour moves a little aside, or is left out if it still does not fit.
void draw_stations(Canvas& canvas, const Style& style, const Axis& axis, const RouteFacts& facts,
                   const ProfileBands& b) {
  canvas.font(style.small_font());
  const double dashes[] = {style.font * 0.3, style.font * 0.3};
  const double foot = b.names.bottom() - style.font * 0.3;
  const double thickness = canvas.text_height();
  LabelPlacer placer(Rect{b.names.x, b.names.y, b.names.w, b.names.h});
  for (const Station& station : facts.stations) {
    const double x = axis.x(station.position);
    canvas.colour(palette::kStationLine);
    cairo_set_dash(canvas.cr(), dashes, 2, 0);
    canvas.line(x, b.height.y, x, b.speed.bottom(), style.line());
    cairo_set_dash(canvas.cr(), nullptr, 0, 0);
    const double length = canvas.text_width(station.name);
    std::vector<Rect> candidates;
    for (const double shift : {0.0, -0.6, 0.6}) {
      candidates.push_back(Rect{x + shift * thickness - thickness / 2, foot - length, thickness, length});
    }
    if (const auto chosen = placer.place(candidates)) {
      const Rect& box = candidates[*chosen];
      canvas.colour(station.timing_point() ? palette::kQuietText : palette::kText);
      canvas.vertical_text(box.x + box.w / 2, foot, station.name);
    }
  }
}

}  // namespace

void draw_profile(Canvas& canvas, const Style& style, const std::array<Entry, kEntryCount>& entries,
                  const RouteFacts& facts, const Rect& area) {
  const ProfileBands b = bands(canvas, style, facts, area);
  const double left = area.x + style.font * 8;
  const Axis axis{left, area.right() - left - style.font, static_cast<double>(std::max(facts.route_length, 1))};
  // Objects in the run-out, past the route's end, stay off the page margin.
  canvas.clip(area);
  canvas.colour(palette::kPanel);
  canvas.fill_rect(Rect{axis.left, b.height.y, axis.width, b.speed.bottom() - b.height.y});
  draw_height(canvas, style, axis, facts, Rect{axis.left, b.height.y, axis.width, b.height.h});
  draw_speed(canvas, style, axis, facts, Rect{axis.left, b.speed.y, axis.width, b.speed.h});
  draw_stations(canvas, style, axis, facts, b);
  draw_distance_axis(canvas, style, axis, facts, b.distance);
  draw_posts(canvas, style, axis, entries, facts, b.posts);
  canvas.unclip();
}

}  // namespace scenario
