#include "render/profile_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "inspect/author_units.h"
#include "render/drawing_options.h"
#include "render/kilometre_posts.h"
#include "render/label_placer.h"
#include "render/nice_numbers.h"
#include "render/profile_legend.h"
#include "render/profile_parts.h"
#include "render/track_bands.h"

namespace scenario {
namespace {

inline constexpr double kPerMille = 1000.0;

// Lengths are in font sizes, strokes in line widths, unless said otherwise.
// The bands: the names take at most a share of the area, the axis and the
// posts a fixed room; the height strip takes its share of what is left and
// the speed strip the rest. The axis starts far enough in for the titles in
// the margin.
inline constexpr double kMostNamesShare = 0.3;
inline constexpr double kDistanceBand = 2.2;
inline constexpr double kPostsBand = 2.6;
inline constexpr double kSignalsBand = 4.5;
inline constexpr double kTrackBand = 3.0;
inline constexpr double kHeightShare = 0.45;
inline constexpr double kAxisLeft = 8.0;
inline constexpr double kAxisRight = 1.0;
// Titles: inside the band's corner, or in the margin left of the axis.
inline constexpr double kTitleInset = 0.5;
// Value ticks: at least a quarter of the range apart, on grid lines.
inline constexpr double kValueSteps = 4.0;
inline constexpr double kGridWidth = 0.6;
inline constexpr double kValueLabelGap = 0.4;
// Ticks under a strip or along an axis.
inline constexpr double kTick = 0.5;
inline constexpr double kShortTick = 0.3;
// The height strip: padded by a share of the heights' range (at least
// kLeastHeightPad metres), with room for its title and its gradient values.
inline constexpr double kHeightPadShare = 0.15;
inline constexpr double kLeastHeightPad = 1.0;
inline constexpr double kHeightTop = 1.8;
inline constexpr double kHeightBottom = 1.6;
inline constexpr double kGroundWidth = 1.5;
inline constexpr double kGradientLabelRoom = 0.4;
inline constexpr double kGradientLabel = 0.8;
// The speed strip: room above the fastest speed (at least kLeastTopSpeed
// km/h) for its title and the row of lineside marks, which stands
// kLinesideRow below the strip's top, with their labels.
inline constexpr double kSpeedTop = 5.5;
inline constexpr double kSpeedBottom = 0.5;
inline constexpr int kLeastTopSpeed = 10;
inline constexpr double kSpeedLineWidth = 2.0;
inline constexpr double kLinesideRow = 2.2;
// Symbols, in their half size: a speed board is a triangle, point down, its
// top kBoardLift half sizes above the speed it shows; the marks of the
// lineside row are smaller, the reduction points kReductionBelow half sizes
// below the boards in their row.
inline constexpr double kBoardHalfSize = 0.45;
inline constexpr double kMarkHalfSize = 0.35;
inline constexpr double kBoardLift = 2.2;
inline constexpr double kReductionBelow = 2.5;
// An indication board's text is cut with an ellipsis past this many font sizes.
inline constexpr double kLongestBoardText = 12.0;
// Labels of boards and slowdowns, in a smaller font: above a board, then
// below it, then beside it at kBoardLabelBeside half sizes.
inline constexpr double kLabelFont = 0.9;  // of the small font
inline constexpr double kLabelGap = 0.3;
inline constexpr int kBoardLabelsAbove = 3;
inline constexpr int kBoardLabelsBelow = 2;
inline constexpr double kBoardLabelBeside = 1.5;
inline constexpr double kBoardPlacerGap = 0.15;
// A slowdown is at least a pixel wide.
inline constexpr double kNarrowestSlowdown = 1.0;
// Labels of the distance axis and of the posts stand this many label widths
// apart at least, below their ticks.
inline constexpr double kDistanceLabelSpacing = 2.5;
inline constexpr double kPostLabelSpacing = 1.5;
inline constexpr double kDistanceLabel = 0.7;
inline constexpr double kPostTick = 0.6;
inline constexpr double kPostLabel = 0.2;
inline constexpr double kNumberingChangeWidth = 1.5;
// Station lines are dashed; a name that does not fit is tried shifted aside
// by these shares of its thickness. The scheduled times stand in a row of
// kTimeRow font sizes below the names.
inline constexpr double kStationDash = 0.3;
inline constexpr double kStationNameFoot = 0.3;
inline constexpr double kStationNameShifts[] = {0.0, -0.6, 0.6};
inline constexpr double kTimeRow = 1.4;

// The bands of the profile, top to bottom.
struct ProfileBands {
  Rect names;
  Rect times;
  Rect height;
  Rect speed;
  Rect signals;
  Rect track;
  Rect distance;
  Rect posts;
  Rect legend;
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

// Bands of a fixed height in font sizes, top to bottom, from `top` on.
Rect stacked(const Rect& area, double& top, double height) {
  const Rect band{area.x, top, area.w, height};
  top += height;
  return band;
}

ProfileBands bands(Canvas& canvas, const Style& style, const RouteFacts& facts, const Rect& area, double axis_width) {
  canvas.font(style.small_font());
  const double names = std::min(longest_name(canvas, facts) + style.font, area.h * kMostNamesShare);
  const double times = style.font * kTimeRow;
  const double fixed = style.font * (kSignalsBand + kTrackBand + kDistanceBand + kPostsBand);
  const double legend = profile_legend_height(canvas, style, axis_width);
  const double strips = std::max(area.h - names - times - fixed - legend, 0.0);
  ProfileBands b;
  double top = area.y;
  b.names = stacked(area, top, names);
  b.times = stacked(area, top, times);
  b.height = stacked(area, top, strips * kHeightShare);
  b.speed = stacked(area, top, strips * (1 - kHeightShare));
  b.signals = stacked(area, top, style.font * kSignalsBand);
  b.track = stacked(area, top, style.font * kTrackBand);
  b.distance = stacked(area, top, style.font * kDistanceBand);
  b.posts = stacked(area, top, style.font * kPostsBand);
  b.legend = stacked(area, top, legend);
  return b;
}

void band_title(Canvas& canvas, const Style& style, const Rect& band, const std::string& title) {
  canvas.font(style.small_font(), true);
  canvas.colour(palette::kQuietText);
  canvas.text(band.x + style.font * kTitleInset, band.y + style.font * kTitleInset, title, Align{0.0, 0.0});
}

// Value ticks on the left edge of a strip, at nice steps.
void value_ticks(Canvas& canvas, const Style& style, const Axis& axis, double low, double high,
                 const std::function<double(double)>& y) {
  const double step = nice_at_least((high - low) / kValueSteps);
  canvas.font(style.small_font());
  for (double v = std::ceil(low / step) * step; v <= high; v += step) {
    canvas.colour(palette::kGrid);
    canvas.line(axis.left, y(v), axis.left + axis.width, y(v), style.line() * kGridWidth);
    canvas.colour(palette::kQuietText);
    canvas.text(axis.left - style.font * kValueLabelGap, y(v), number_text(v, step), Align{1.0, 0.5});
  }
}

// Heights relative to the origin, from the gradient of each stretch.
std::vector<double> heights(const std::vector<Stretch>& gradients, double start) {
  std::vector<double> h{start};
  for (const Stretch& s : gradients) h.push_back(h.back() + s.value * (s.to - s.from) / kPerMille);
  return h;
}

std::string gradient_text(int value) { return value > 0 ? "+" + std::to_string(value) : std::to_string(value); }

void draw_height(Canvas& canvas, const Style& style, const Axis& axis, const RouteFacts& facts, const Rect& band) {
  band_title(canvas, style, band, "Height from the gradients (m); gradient of each stretch in \u2030");
  if (facts.gradients.empty()) return;
  const std::vector<double> h = heights(facts.gradients, facts.start_height);
  const auto [low_it, high_it] = std::minmax_element(h.begin(), h.end());
  const double pad = std::max((*high_it - *low_it) * kHeightPadShare, kLeastHeightPad);
  const double low = *low_it - pad;
  const double high = *high_it + pad;
  const double top = band.y + style.font * kHeightTop;
  const double bottom = band.bottom() - style.font * kHeightBottom;
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
  cairo_set_line_width(canvas.cr(), style.line() * kGroundWidth);
  cairo_stroke(canvas.cr());
  // Gradient values under the stretches wide enough to hold them.
  canvas.font(style.small_font());
  for (const Stretch& s : facts.gradients) {
    const std::string text = gradient_text(s.value);
    const double x0 = axis.x(s.from);
    const double x1 = axis.x(s.to);
    canvas.colour(palette::kGroundLine);
    canvas.line(x0, bottom, x0, bottom + style.font * kTick, style.line());
    if (x1 - x0 < canvas.text_width(text) + style.font * kGradientLabelRoom) continue;
    canvas.colour(palette::kText);
    canvas.text((x0 + x1) / 2, bottom + style.font * kGradientLabel, text, Align{0.5, 0.5});
  }
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
  for (int level = 0; level < kBoardLabelsAbove; ++level) {
    candidates.push_back(canvas.text_box(x, top - style.font * (kLabelGap + level), text, Align{0.5, 1.0}));
  }
  for (int level = 0; level < kBoardLabelsBelow; ++level) {
    candidates.push_back(canvas.text_box(x, top + size * 2 + style.font * (kLabelGap + level), text, Align{0.5, 0.0}));
  }
  candidates.push_back(canvas.text_box(x - size * kBoardLabelBeside, top + size, text, Align{1.0, 0.5}));
  candidates.push_back(canvas.text_box(x + size * kBoardLabelBeside, top + size, text, Align{0.0, 0.5}));
  return candidates;
}

void draw_speed_boards(Canvas& canvas, const Style& style, const Axis& axis, const RouteFacts& facts,
                       const std::function<double(double)>& y, LabelPlacer& placer) {
  const double size = style.font * kBoardHalfSize;
  const auto board_top = [&](const DrawnSpeedBoard& board) { return y(board.speed) - size * kBoardLift; };
  for (const DrawnSpeedBoard& board : facts.speed_boards) {
    const double x = axis.x(board.position);
    const double top = board_top(board);
    draw_symbol(canvas, style, board.stripes == 0 ? Symbol::kSpeedBoard : Symbol::kAnnouncingBoard, x, top + size,
                size);
    placer.block(Rect{x - size, top, 2 * size, 2 * size});
  }
  canvas.font(style.small_font() * kLabelFont);
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
    const double x1 = std::max(axis.x(s.to), x0 + kNarrowestSlowdown);
    canvas.colour(palette::kSlowdown);
    canvas.fill_rect(Rect{x0, y(s.value), x1 - x0, bottom - y(s.value)});
    canvas.colour(palette::kSlowdownLine);
    canvas.line(x0, y(s.value), x1, y(s.value), style.line() * kSpeedLineWidth);
    canvas.font(style.small_font() * kLabelFont);
    canvas.text((x0 + x1) / 2, y(s.value) - style.font * kLabelGap, std::to_string(s.value), Align{0.5, 1.0});
  }
}

// A mark of the lineside row, drawn at (x, y) with its label.
struct LinesideMark {
  Symbol symbol;
  double x = 0.0;
  double y = 0.0;
  std::string label;
  Colour colour;
};

// Indication boards and slowdown warning boards in a row of their own above
// the speed scale, speed reduction points just below them.
std::vector<LinesideMark> lineside_marks(Canvas& canvas, const Style& style, const Axis& axis, const RouteFacts& facts,
                                         double row) {
  canvas.font(style.small_font() * kLabelFont);
  const double below = row + style.font * kMarkHalfSize * kReductionBelow;
  std::vector<LinesideMark> marks;
  for (const IndicationBoard& board : facts.indication_boards) {
    marks.push_back({Symbol::kIndicationBoard, axis.x(board.position), row,
                     canvas.fitted(board.text, style.font * kLongestBoardText), palette::kIndicationBoard});
  }
  for (const WarningBoard& board : facts.warning_boards) {
    marks.push_back({Symbol::kWarningBoard, axis.x(board.position), row, std::to_string(board.speed),
                     palette::kSlowdownLine});
  }
  for (const ReductionPoint& point : facts.reduction_points) {
    marks.push_back({point.compilers ? Symbol::kCompilersReductionPoint : Symbol::kReductionPoint,
                     axis.x(point.position), below, point.speed ? std::to_string(*point.speed) : "",
                     palette::kReduction});
  }
  return marks;
}

// Right of the mark, then left of it, then under it.
std::vector<Rect> beside(Canvas& canvas, const Style& style, const LinesideMark& mark, double size) {
  const double gap = size + style.font * kLabelGap;
  return {canvas.text_box(mark.x + gap, mark.y, mark.label, Align{0.0, 0.5}),
          canvas.text_box(mark.x - gap, mark.y, mark.label, Align{1.0, 0.5}),
          canvas.text_box(mark.x, mark.y + gap, mark.label, Align{0.5, 0.0})};
}

// The marks first, so that no label covers one, then their labels where
// there is room.
void draw_lineside_marks(Canvas& canvas, const Style& style, const std::vector<LinesideMark>& marks,
                         LabelPlacer& placer) {
  const double size = style.font * kMarkHalfSize;
  for (const LinesideMark& mark : marks) {
    draw_symbol(canvas, style, mark.symbol, mark.x, mark.y, size);
    placer.block(Rect{mark.x - size, mark.y - size, 2 * size, 2 * size});
  }
  canvas.font(style.small_font() * kLabelFont);
  for (const LinesideMark& mark : marks) {
    if (mark.label.empty()) continue;
    const std::vector<Rect> candidates = beside(canvas, style, mark, size);
    if (const auto chosen = placer.place(candidates)) {
      canvas.colour(mark.colour);
      canvas.text(candidates[*chosen].x, candidates[*chosen].y, mark.label, Align{0.0, 0.0});
    }
  }
}

void draw_speed(Canvas& canvas, const Style& style, const Axis& axis, const RouteFacts& facts, const Rect& band) {
  band_title(canvas, style, band, "Speed, km/h");
  const double top = band.y + style.font * kSpeedTop;
  const double bottom = band.bottom() - style.font * kSpeedBottom;
  const double high = std::max(fastest_speed(facts), kLeastTopSpeed);
  const auto y = [&](double v) { return bottom - v / high * (bottom - top); };
  value_ticks(canvas, style, axis, 0, high, y);
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
    cairo_set_line_width(canvas.cr(), style.line() * kSpeedLineWidth);
    cairo_stroke(canvas.cr());
  }
  LabelPlacer placer(band, style.font * kBoardPlacerGap);
  block_steps(placer, axis, facts, y, style.line() * kSpeedLineWidth);
  const std::vector<LinesideMark> marks =
      lineside_marks(canvas, style, axis, facts, band.y + style.font * kLinesideRow);
  draw_lineside_marks(canvas, style, marks, placer);
  draw_speed_boards(canvas, style, axis, facts, y, placer);
}

void draw_distance_axis(Canvas& canvas, const Style& style, const Axis& axis, const RouteFacts& facts,
                        const Rect& band) {
  margin_title(canvas, style, band, axis.left, "distance, km");
  canvas.font(style.small_font());
  const double step = nice_at_least(facts.length() * canvas.text_width("000.0") * kDistanceLabelSpacing / axis.width);
  canvas.colour(palette::kText);
  canvas.line(axis.left, band.y, axis.left + axis.width, band.y, style.line());
  for (double m = std::ceil(facts.from / step) * step; m <= facts.to; m += step) {
    const double x = axis.x(m);
    canvas.line(x, band.y, x, band.y + style.font * kTick, style.line());
    canvas.text(x, band.y + style.font * kDistanceLabel, kilometres_text(m, step), Align{0.5, 0.0});
  }
}

void draw_posts(Canvas& canvas, const Style& style, const Axis& axis, const std::array<Entry, kEntryCount>& entries,
                const RouteFacts& facts, const Rect& band) {
  margin_title(canvas, style, band, axis.left, "km posts");
  const std::vector<KilometrePost> posts = kilometre_posts(entries, facts.from, facts.to);
  canvas.font(style.small_font());
  const double per_post = axis.width * kMetresPerKilometre / std::max(facts.length(), 1);
  const auto every = static_cast<int64_t>(nice_at_least(canvas.text_width("0000") * kPostLabelSpacing / per_post));
  const double tick = band.y + style.font * kPostTick;
  LabelPlacer placer(band);
  for (const int32_t change : numbering_changes(entries, facts.from, facts.to)) {
    canvas.colour(palette::kNumberingChange);
    canvas.line(axis.x(change), band.y, axis.x(change), band.bottom(), style.line() * kNumberingChangeWidth);
  }
  for (const KilometrePost& post : posts) {
    const double x = axis.x(post.position);
    const bool labelled = post.kilometre % std::max<int64_t>(every, 1) == 0;
    canvas.colour(palette::kText);
    canvas.line(x, band.y, x, labelled ? tick : band.y + style.font * kShortTick, style.line());
    if (!labelled) continue;
    const std::string text = std::to_string(post.kilometre);
    const std::vector<Rect> candidates{canvas.text_box(x, tick + style.font * kPostLabel, text, Align{0.5, 0.0})};
    if (placer.place(candidates)) canvas.text(candidates[0].x, candidates[0].y, text, Align{0.0, 0.0});
  }
}

// The scheduled time the entry table holds; a timing point without one
// (a time of 0) shows none.
std::string time_text(const Station& station) {
  if (station.timing_point() && station.time == 0) return {};
  return time_of_day_text(station.time);
}

// Names read upward from the top of the strips, cut with an ellipsis to the
// height of their band; a name that would cover its neighbour moves a
// little aside, or is left out if it still does not fit. The times stand in
// a row below the names.
void draw_stations(Canvas& canvas, const Style& style, const Axis& axis, const RouteFacts& facts,
                   const ProfileBands& b) {
  canvas.font(style.small_font());
  const double dashes[] = {style.font * kStationDash, style.font * kStationDash};
  const double foot = b.names.bottom() - style.font * kStationNameFoot;
  const double thickness = canvas.text_height();
  LabelPlacer names(b.names);
  LabelPlacer times(b.times);
  for (const Station& station : facts.stations) {
    const double x = axis.x(station.position);
    canvas.colour(palette::kStationLine);
    cairo_set_dash(canvas.cr(), dashes, 2, 0);
    canvas.line(x, b.height.y, x, b.track.bottom(), style.line());
    cairo_set_dash(canvas.cr(), nullptr, 0, 0);
    canvas.colour(station.timing_point() ? palette::kQuietText : palette::kText);
    const std::string name = canvas.fitted(station.name, foot - b.names.y);
    const double length = canvas.text_width(name);
    std::vector<Rect> candidates;
    for (const double shift : kStationNameShifts) {
      candidates.push_back(Rect{x + shift * thickness - thickness / 2, foot - length, thickness, length});
    }
    if (const auto chosen = names.place(candidates)) {
      canvas.vertical_text(candidates[*chosen].x + thickness / 2, foot, name);
    }
    const std::string time = time_text(station);
    const std::vector<Rect> time_box{canvas.text_box(x, b.times.y + b.times.h / 2, time, Align{0.5, 0.5})};
    if (!time.empty() && times.place(time_box)) canvas.text(time_box[0].x, time_box[0].y, time, Align{0.0, 0.0});
  }
}

}  // namespace

void draw_profile(Canvas& canvas, const Style& style, const std::array<Entry, kEntryCount>& entries,
                  const RouteFacts& facts, const Rect& area) {
  const double left = area.x + style.font * kAxisLeft;
  const Axis axis{left, area.right() - left - style.font * kAxisRight, static_cast<double>(facts.from),
                  static_cast<double>(std::max(facts.length(), 1))};
  const ProfileBands b = bands(canvas, style, facts, area, axis.width);
  // Objects in the run-out, past the route's end, stay off the page margin.
  canvas.clip(area);
  canvas.colour(palette::kPanel);
  canvas.fill_rect(Rect{axis.left, b.height.y, axis.width, b.speed.bottom() - b.height.y});
  draw_height(canvas, style, axis, facts, Rect{axis.left, b.height.y, axis.width, b.height.h});
  draw_speed(canvas, style, axis, facts, Rect{axis.left, b.speed.y, axis.width, b.speed.h});
  draw_signals_band(canvas, style, axis, facts, b.signals);
  draw_track_band(canvas, style, axis, facts, b.track);
  draw_stations(canvas, style, axis, facts, b);
  draw_distance_axis(canvas, style, axis, facts, b.distance);
  draw_posts(canvas, style, axis, entries, facts, b.posts);
  draw_profile_legend(canvas, style, Rect{axis.left, b.legend.y, axis.width, b.legend.h});
  canvas.unclip();
}

}  // namespace scenario
