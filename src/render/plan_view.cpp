#include "render/plan_view.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <string>

#include "inspect/trace_summary.h"
#include "render/label_placer.h"
#include "render/nice_numbers.h"

namespace scenario {
namespace {

// At most this many points per polyline: a chord of a few tens of metres on
// the tightest curve (about 333 m radius) strays well under a pixel.
inline constexpr double kMostPolylinePoints = 5000.0;
// Metres on either side of a point that give the direction of the track.
inline constexpr int64_t kDirectionReach = 20;
// The plan is turned along the chord only when the chord is at least this
// share of the route's larger extent.
inline constexpr double kLeastChordShare = 0.3;

// Room around the track for names, in font sizes, and below it for the
// scale bar and the legend.
inline constexpr double kNameRoom = 4.5;
inline constexpr double kFooterRoom = 2.5;
inline constexpr double kSideRoom = 3.0;
// Height of the panel that says there is no plan, in font sizes.
inline constexpr double kNoPlanHeight = 6.0;
// Room the label placer keeps between labels, in font sizes.
inline constexpr double kLabelGap = 0.3;

// The marks, drawn the same in the legend. Strokes are in line widths,
// lengths in font sizes.
inline constexpr double kTrackWidth = 2.5;
inline constexpr double kTunnelWidth = 5.0;
inline constexpr double kShortestTunnel = 0.5;
inline constexpr double kSignalWidth = 1.5;
inline constexpr double kSignalNear = 0.3;  // from the track's centre line
inline constexpr double kSignalFar = 0.9;
inline constexpr double kStationRadius = 0.38;
inline constexpr double kTimingPointRadius = 0.23;
inline constexpr double kStationRingWidth = 1.5;

// A station name is tried at these distances from its station, in font
// sizes, each slid along the track by these shares of its length; one set
// farther off than kLeaderFrom gets a thin leader line.
inline constexpr double kNameReaches[] = {0.8, 2.0, 3.2};
inline constexpr double kNameSlides[] = {0.0, -0.5, 0.5};
inline constexpr double kLeaderFrom = 1.2;
inline constexpr double kLeaderWidth = 0.6;
// A longer name is cut with an ellipsis, in font sizes.
inline constexpr double kLongestName = 16.0;

// The north arrow: half its shaft in font sizes, its centre raised by a share
// of that, and in half shafts the base of its head, the head's half width,
// the letter N and the start of the scale bar.
inline constexpr double kArrowHalfShaft = 0.9;
inline constexpr double kArrowLift = 0.2;
inline constexpr double kArrowHeadBase = 0.4;
inline constexpr double kArrowHeadHalfWidth = 0.35;
inline constexpr double kArrowLetter = 1.6;
inline constexpr double kScaleBarStart = 2.5;
// The scale bar: a round length of at most this share of the panel width,
// its end ticks and its label gap in font sizes.
inline constexpr double kScaleBarShare = 0.15;
inline constexpr double kScaleBarWidth = 1.5;
inline constexpr double kScaleTickHalf = 0.35;
inline constexpr double kScaleLabelGap = 0.5;
// Room the arrow and the bar keep free of labels, in font sizes: above the
// bar, in all, and beyond the bar's label.
inline constexpr double kScaleRoomAbove = 2.0;
inline constexpr double kScaleRoomHeight = 3.0;
inline constexpr double kScaleRoomAfter = 1.0;

// The legend: the length of each mark, and the signal's stroke above and
// below the line, in font sizes.
inline constexpr double kLegendMark = 1.6;
inline constexpr double kLegendSignalAbove = 0.3;
inline constexpr double kLegendSignalBelow = 0.5;

size_t point_count(const Trace& trace) { return std::min(trace.x.size(), trace.y.size()); }

// The defined point at metre m, or the nearest one before it (the last two
// metres of a trace are empty).
std::optional<PlanPoint> point_at(const Trace& trace, int64_t m) {
  if (point_count(trace) == 0) return std::nullopt;
  const auto last = static_cast<int64_t>(point_count(trace)) - 1;
  for (int64_t i = std::clamp<int64_t>(m, 0, last); i >= 0; --i) {
    if (auto p = plan_point(trace, static_cast<size_t>(i))) return p;
  }
  return std::nullopt;
}

int64_t span_end(const Trace& trace, const RouteFacts& facts) {
  return std::min<int64_t>(facts.to, static_cast<int64_t>(point_count(trace)) - 1);
}

// Plan metres to page pixels. The plan is turned so that its chord, from the
// start to the end of the drawn span, points right; "left of the chord" is up.
class PlanFrame {
 public:
  // Nothing when the route has no defined point.
  static std::optional<PlanFrame> of(const Trace& trace, const RouteFacts& facts) {
    const int64_t end = span_end(trace, facts);
    const auto first = point_at(trace, facts.from);
    const auto last = point_at(trace, end);
    if (!first || !last) return std::nullopt;
    PlanFrame frame;
    frame.origin_ = *first;
    const double dx = last->x - first->x;
    const double dy = last->y - first->y;
    const double chord = std::hypot(dx, dy);
    const TraceSummary route =
        summarize_trace(trace, static_cast<size_t>(std::max(facts.from, 0)), static_cast<size_t>(std::max<int64_t>(end, 0)));
    const double extent =
        route.box ? std::max(route.box->max_x - route.box->min_x, route.box->max_y - route.box->min_y) : 0.0;
    // A route that ends near where it began has no direction of its own: it
    // keeps north up.
    frame.along_ = chord > extent * kLeastChordShare ? PlanPoint{dx / chord, dy / chord} : PlanPoint{1.0, 0.0};
    frame.measure(trace, facts.from, end);
    return frame;
  }

  double along_extent() const { return max_a_ - min_a_; }
  double across_extent() const { return max_b_ - min_b_; }

  // Fits the turned route into the area, keeping its proportions; a route
  // without width (no curves) is fitted by its length alone.
  void fit(const Rect& area) {
    scale_ = fitting_scale(area.w, area.h);
    left_ = area.x + (area.w - along_extent() * scale_) / 2;
    top_ = area.y + (area.h - across_extent() * scale_) / 2;
  }
  double fitting_scale(double w, double h) const {
    constexpr double kNone = std::numeric_limits<double>::infinity();
    const double scale =
        std::min(along_extent() > 0 ? w / along_extent() : kNone, across_extent() > 0 ? h / across_extent() : kNone);
    return std::isfinite(scale) ? scale : 1.0;
  }
  double scale() const { return scale_; }

  Point page(const PlanPoint& p) const {
    const double a = along(p);
    const double b = across(p);
    return Point{left_ + (a - min_a_) * scale_, top_ + (max_b_ - b) * scale_};
  }
  // Unit vector of north on the page.
  Point north() const { return Point{along_.y, -along_.x}; }

 private:
  double along(const PlanPoint& p) const { return (p.x - origin_.x) * along_.x + (p.y - origin_.y) * along_.y; }
  double across(const PlanPoint& p) const { return -(p.x - origin_.x) * along_.y + (p.y - origin_.y) * along_.x; }

  void measure(const Trace& trace, int64_t from, int64_t end) {
    for (int64_t m = std::max<int64_t>(from, 0); m <= end; ++m) {
      const auto p = plan_point(trace, static_cast<size_t>(m));
      if (!p) continue;
      min_a_ = std::min(min_a_, along(*p));
      max_a_ = std::max(max_a_, along(*p));
      min_b_ = std::min(min_b_, across(*p));
      max_b_ = std::max(max_b_, across(*p));
    }
  }

  PlanPoint origin_;
  PlanPoint along_;
  double min_a_ = 0.0;
  double max_a_ = 0.0;
  double min_b_ = 0.0;
  double max_b_ = 0.0;
  double scale_ = 1.0;
  double left_ = 0.0;
  double top_ = 0.0;
};

// The area the track itself may take inside the panel.
Rect track_area(const Style& style, const Rect& panel) {
  const double side = style.font * kSideRoom;
  const double top = style.font * kNameRoom;
  const double bottom = style.font * (kNameRoom + kFooterRoom);
  return Rect{panel.x + side, panel.y + top, panel.w - 2 * side, panel.h - top - bottom};
}

std::optional<Point> page_at(const Trace& trace, const PlanFrame& frame, int64_t m) {
  const auto p = point_at(trace, m);
  if (!p) return std::nullopt;
  return frame.page(*p);
}

// Unit vector along the track at metre m, on the page.
Point page_direction(const Trace& trace, const PlanFrame& frame, int64_t m) {
  const auto a = page_at(trace, frame, m - kDirectionReach);
  const auto b = page_at(trace, frame, m + kDirectionReach);
  if (!a || !b) return Point{1.0, 0.0};
  const double length = std::hypot(b->x - a->x, b->y - a->y);
  return length > 0 ? Point{(b->x - a->x) / length, (b->y - a->y) / length} : Point{1.0, 0.0};
}

void stroke_trace(Canvas& canvas, const Trace& trace, const PlanFrame& frame, int64_t from, int64_t to, double width) {
  if (from >= to) return;
  const auto step = std::max<int64_t>(1, static_cast<int64_t>(static_cast<double>(to - from) / kMostPolylinePoints));
  bool started = false;
  for (int64_t m = from;; m = std::min(m + step, to)) {
    if (const auto p = plan_point(trace, static_cast<size_t>(m))) {
      const Point q = frame.page(*p);
      if (started) {
        cairo_line_to(canvas.cr(), q.x, q.y);
      } else {
        cairo_move_to(canvas.cr(), q.x, q.y);
        started = true;
      }
    }
    if (m == to) break;
  }
  cairo_set_line_width(canvas.cr(), width);
  cairo_stroke(canvas.cr());
}

// The run-out beyond the route's end is drawn only with the end itself.
void draw_track(Canvas& canvas, const Style& style, const Trace& trace, const PlanFrame& frame,
                const RouteFacts& facts) {
  const int64_t end = span_end(trace, facts);
  if (facts.to >= facts.route_length) {
    canvas.colour(palette::kRunOut);
    stroke_trace(canvas, trace, frame, end, static_cast<int64_t>(point_count(trace)) - 1, style.line());
  }
  canvas.colour(palette::kTrack);
  stroke_trace(canvas, trace, frame, facts.from, end, style.line() * kTrackWidth);
}

// A tunnel of 50 m is a speck at the scale of a whole route: each is drawn at
// least half a font size long, centred on itself.
void draw_tunnels(Canvas& canvas, const Style& style, const Trace& trace, const PlanFrame& frame,
                  const RouteFacts& facts) {
  const double shortest = style.font * kShortestTunnel / frame.scale();
  canvas.colour(palette::kTunnel);
  for (const Stretch& tunnel : facts.tunnels) {
    const double middle = (tunnel.from + tunnel.to) / 2.0;
    const double half = std::max<double>(tunnel.to - tunnel.from, shortest) / 2;
    stroke_trace(canvas, trace, frame, std::lround(middle - half), std::lround(middle + half),
                 style.line() * kTunnelWidth);
  }
}

// A short red stroke on the right of the track, where the driver sees it.
void draw_signals(Canvas& canvas, const Style& style, const Trace& trace, const PlanFrame& frame,
                  const RouteFacts& facts, LabelPlacer& placer) {
  canvas.colour(palette::kSignal);
  for (const int32_t position : facts.signals) {
    const auto p = page_at(trace, frame, position);
    if (!p) continue;
    const Point d = page_direction(trace, frame, position);
    const Point right{-d.y, d.x};
    const double near = style.font * kSignalNear;
    const double far = style.font * kSignalFar;
    canvas.line(p->x + right.x * near, p->y + right.y * near, p->x + right.x * far, p->y + right.y * far,
                style.line() * kSignalWidth);
    placer.block(Rect{std::min(p->x, p->x + right.x * far), std::min(p->y, p->y + right.y * far),
                      std::abs(right.x * far), std::abs(right.y * far)});
  }
}

void draw_station_mark(Canvas& canvas, const Style& style, const Point& p, bool timing_point) {
  const double r = style.font * (timing_point ? kTimingPointRadius : kStationRadius);
  cairo_arc(canvas.cr(), p.x, p.y, r, 0, 2 * std::numbers::pi);
  canvas.colour(palette::kBackground);
  cairo_fill_preserve(canvas.cr());
  canvas.colour(palette::kStation);
  cairo_set_line_width(canvas.cr(), style.line() * kStationRingWidth);
  cairo_stroke(canvas.cr());
}

// Boxes for a name around its station: across the track on either side,
// nearest first, each also slid along the track by half its length.
std::vector<Rect> name_candidates(Canvas& canvas, const Style& style, const Point& p, const Point& d,
                                  const std::string& name) {
  const Point left{d.y, -d.x};
  const double w = canvas.text_width(name);
  std::vector<Rect> candidates;
  for (const double reach : kNameReaches) {
    for (const double side : {1.0, -1.0}) {
      for (const double slide : kNameSlides) {
        const Point across{left.x * side, left.y * side};
        const Point anchor{p.x + across.x * style.font * reach + d.x * w * slide,
                           p.y + across.y * style.font * reach + d.y * w * slide};
        candidates.push_back(canvas.text_box(anchor.x, anchor.y, name, Align{0.5 - across.x / 2, 0.5 - across.y / 2}));
      }
    }
  }
  return candidates;
}

// A name set away from its station gets a thin line back to it.
void leader(Canvas& canvas, const Style& style, const Point& p, const Rect& box) {
  const double x = std::clamp(p.x, box.x, box.right());
  const double y = std::clamp(p.y, box.y, box.bottom());
  if (std::hypot(x - p.x, y - p.y) < style.font * kLeaderFrom) return;
  canvas.colour(palette::kQuietText);
  canvas.line(p.x, p.y, x, y, style.line() * kLeaderWidth);
}

void draw_stations(Canvas& canvas, const Style& style, const Trace& trace, const PlanFrame& frame,
                   const RouteFacts& facts, LabelPlacer& placer) {
  const double r = style.font * kStationRadius;
  for (const Station& station : facts.stations) {
    if (const auto p = page_at(trace, frame, station.position)) placer.block(Rect{p->x - r, p->y - r, 2 * r, 2 * r});
  }
  canvas.font(style.small_font());
  for (const Station& station : facts.stations) {
    const auto p = page_at(trace, frame, station.position);
    if (!p) continue;
    const std::string name = canvas.fitted(station.name, style.font * kLongestName);
    const auto candidates = name_candidates(canvas, style, *p, page_direction(trace, frame, station.position), name);
    if (const auto chosen = placer.place(candidates)) {
      const Rect& box = candidates[*chosen];
      leader(canvas, style, *p, box);
      canvas.colour(station.timing_point() ? palette::kQuietText : palette::kText);
      canvas.text(box.x, box.y, name, Align{0.0, 0.0});
    }
  }
  for (const Station& station : facts.stations) {
    if (const auto p = page_at(trace, frame, station.position))
      draw_station_mark(canvas, style, *p, station.timing_point());
  }
}

std::string distance_text(double metres) {
  if (metres >= 1000) return std::to_string(std::lround(metres / 1000)) + " km";
  return std::to_string(std::lround(metres)) + " m";
}

// Bottom left: a north arrow, then a bar of a round length.
void draw_scale(Canvas& canvas, const Style& style, const PlanFrame& frame, const Rect& panel, LabelPlacer& placer) {
  const double y = panel.bottom() - style.margin();
  const double arrow = style.font * kArrowHalfShaft;
  const Point centre{panel.x + style.margin() + arrow, y - arrow * kArrowLift};
  const Point n = frame.north();
  canvas.colour(palette::kText);
  canvas.line(centre.x - n.x * arrow, centre.y - n.y * arrow, centre.x + n.x * arrow, centre.y + n.y * arrow,
              style.line());
  cairo_move_to(canvas.cr(), centre.x + n.x * arrow, centre.y + n.y * arrow);
  cairo_line_to(canvas.cr(), centre.x + n.x * arrow * kArrowHeadBase - n.y * arrow * kArrowHeadHalfWidth,
                centre.y + n.y * arrow * kArrowHeadBase + n.x * arrow * kArrowHeadHalfWidth);
  cairo_line_to(canvas.cr(), centre.x + n.x * arrow * kArrowHeadBase + n.y * arrow * kArrowHeadHalfWidth,
                centre.y + n.y * arrow * kArrowHeadBase - n.x * arrow * kArrowHeadHalfWidth);
  cairo_close_path(canvas.cr());
  cairo_fill(canvas.cr());
  canvas.font(style.small_font(), true);
  canvas.text(centre.x + n.x * arrow * kArrowLetter, centre.y + n.y * arrow * kArrowLetter, "N", Align{0.5, 0.5});

  const double x = centre.x + arrow * kScaleBarStart;
  const double metres = nice_at_most(panel.w * kScaleBarShare / frame.scale());
  const double length = metres * frame.scale();
  const double tick = style.font * kScaleTickHalf;
  canvas.line(x, y, x + length, y, style.line() * kScaleBarWidth);
  canvas.line(x, y - tick, x, y + tick, style.line());
  canvas.line(x + length, y - tick, x + length, y + tick, style.line());
  canvas.font(style.small_font());
  const std::string label = distance_text(metres);
  canvas.text(x + length + style.font * kScaleLabelGap, y, label, Align{0.0, 0.5});
  placer.block(Rect{panel.x, y - style.font * kScaleRoomAbove,
                    x + length + canvas.text_width(label) + style.font * kScaleRoomAfter - panel.x,
                    style.font * kScaleRoomHeight});
}

enum class Mark { kRoute, kRunOut, kTunnel, kSignal, kStation, kTimingPoint };

struct LegendItem {
  Mark mark;
  const char* name;
};

constexpr LegendItem kLegend[] = {{Mark::kRoute, "route"},     {Mark::kRunOut, "run-out"},
                                  {Mark::kTunnel, "tunnel"},   {Mark::kSignal, "signal"},
                                  {Mark::kStation, "station"}, {Mark::kTimingPoint, "timing point"}};

// Each mark as the plan draws it, in a box `w` wide centred on (x + w / 2, y).
void legend_mark(Canvas& canvas, const Style& style, Mark mark, double x, double y, double w) {
  switch (mark) {
    case Mark::kRoute:
      canvas.colour(palette::kTrack);
      canvas.line(x, y, x + w, y, style.line() * kTrackWidth);
      return;
    case Mark::kRunOut:
      canvas.colour(palette::kRunOut);
      canvas.line(x, y, x + w, y, style.line());
      return;
    case Mark::kTunnel:
      canvas.colour(palette::kTunnel);
      canvas.line(x + w / 4, y, x + w * 3 / 4, y, style.line() * kTunnelWidth);
      return;
    case Mark::kSignal:
      canvas.colour(palette::kSignal);
      canvas.line(x + w / 2, y - style.font * kLegendSignalAbove, x + w / 2, y + style.font * kLegendSignalBelow,
                  style.line() * kSignalWidth);
      return;
    case Mark::kStation: draw_station_mark(canvas, style, Point{x + w / 2, y}, false); return;
    case Mark::kTimingPoint: draw_station_mark(canvas, style, Point{x + w / 2, y}, true); return;
  }
}

// One line along the bottom right of the panel.
void draw_legend(Canvas& canvas, const Style& style, const Rect& panel, LabelPlacer& placer) {
  canvas.font(style.small_font());
  const double y = panel.bottom() - style.margin();
  const double mark = style.font * kLegendMark;
  const double gap = style.font;
  double width = 0;
  for (const LegendItem& item : kLegend) width += mark + gap / 2 + canvas.text_width(item.name) + gap;
  double x = panel.right() - style.margin() - width;
  // On a narrow image the legend gives way to the scale bar.
  if (!placer.place({Rect{x, y - style.font, width, style.font * 2}})) return;
  for (const LegendItem& item : kLegend) {
    legend_mark(canvas, style, item.mark, x, y, mark);
    x += mark + gap / 2;
    canvas.colour(palette::kText);
    canvas.font(style.small_font());
    canvas.text(x, y, item.name, Align{0.0, 0.5});
    x += canvas.text_width(item.name) + gap;
  }
}

}  // namespace

double plan_height(const Style& style, const Trace& trace, const RouteFacts& facts, double width, double most) {
  const std::optional<PlanFrame> frame = PlanFrame::of(trace, facts);
  if (!frame) return std::min(most, style.font * kNoPlanHeight);
  const Rect room = track_area(style, Rect{0, 0, width, most});
  const double needed = frame->across_extent() * frame->fitting_scale(room.w, room.h);
  return std::min(most, most - room.h + needed);
}

void draw_plan(Canvas& canvas, const Style& style, const Trace& trace, const RouteFacts& facts, const Rect& area) {
  canvas.colour(palette::kPanel);
  canvas.fill_rect(area);
  std::optional<PlanFrame> frame = PlanFrame::of(trace, facts);
  if (!frame) {
    canvas.colour(palette::kQuietText);
    canvas.font(style.font);
    canvas.text(area.x + area.w / 2, area.y + area.h / 2,
                "No plan: the line geometry file is missing or holds no point (compiled with --no-trace?)",
                Align{0.5, 0.5});
    return;
  }
  frame->fit(track_area(style, area));
  canvas.clip(area);
  LabelPlacer placer(area, style.font * kLabelGap);
  draw_scale(canvas, style, *frame, area, placer);
  draw_legend(canvas, style, area, placer);
  draw_track(canvas, style, trace, *frame, facts);
  draw_tunnels(canvas, style, trace, *frame, facts);
  draw_signals(canvas, style, trace, *frame, facts, placer);
  draw_stations(canvas, style, trace, *frame, facts, placer);
  canvas.unclip();
}

}  // namespace scenario
