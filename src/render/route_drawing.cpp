#include "render/route_drawing.h"

#include <cstdio>
#include <stdexcept>

#include "model/windows1252.h"
#include "render/plan_view.h"
#include "render/profile_view.h"
#include "render/route_facts.h"
#include "render/style.h"

namespace scenario {
namespace {

// Most of the page below the title that the plan may take; the profile has the rest.
inline constexpr double kPlanShare = 0.5;
// Landscape sheets in points: ISO 216, 297 x 210 mm and 420 x 297 mm.
inline constexpr double kPointsPerMillimetre = 72.0 / 25.4;
inline constexpr double kA4Long = 297 * kPointsPerMillimetre;
inline constexpr double kA4Short = 210 * kPointsPerMillimetre;
inline constexpr double kA3Long = 420 * kPointsPerMillimetre;
// The title takes at most this share of the page width.
inline constexpr double kTitleShare = 0.95;

std::string kilometres(int32_t metres) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", metres / kMetresPerKilometre);
  return text;
}

// What the page shows besides the names: the stretch when it is not the
// whole route, the page among the pages, and what the stretch holds.
std::string span_text(const RouteFacts& facts, size_t page, size_t pages) {
  std::string text = facts.from == 0 && facts.to == facts.route_length
                         ? kilometres(facts.route_length) + " km"
                         : "km " + kilometres(facts.from) + " to " + kilometres(facts.to) + " of " +
                               kilometres(facts.route_length);
  if (pages > 1) text += " (page " + std::to_string(page + 1) + " of " + std::to_string(pages) + ")";
  return text;
}

std::string counts_text(const RouteFacts& facts) {
  return std::to_string(facts.stations.size()) + " stations, " + std::to_string(facts.signals.size()) +
         " signals, " + std::to_string(facts.tunnels.size()) + " tunnels";
}

// The scenario and train and the stretch drawn, then what it holds when
// there is room; names too long for the page are cut.
std::string title_of(Canvas& canvas, const RouteModel& model, const RouteFacts& facts, size_t page, size_t pages) {
  const std::string names = windows1252_to_utf8(model.entries[kScenarioRow].text) + "  \u00B7  train " +
                            windows1252_to_utf8(model.entries[kTrainRow].text);
  const std::string span = "  \u00B7  " + span_text(facts, page, pages);
  const std::string full = names + span + ", " + counts_text(facts);
  const double room = canvas.width() * kTitleShare;
  if (canvas.text_width(full) <= room) return full;
  return canvas.fitted(names, room - canvas.text_width(span)) + span;
}

void draw_page(Canvas& canvas, const RouteModel& model, const RouteFacts& facts, size_t page, size_t pages) {
  const Style style(canvas.height());
  canvas.colour(palette::kBackground);
  canvas.fill_rect(Rect{0, 0, canvas.width(), canvas.height()});
  const double m = style.margin();
  canvas.font(style.font * 1.25, true);
  canvas.colour(palette::kText);
  canvas.text(m, m, title_of(canvas, model, facts, page, pages), Align{0.0, 0.0});
  const double top = m + style.font * 2.5;
  const double body = canvas.height() - top - m;
  const double plan_h = plan_height(style, model.trace, facts, canvas.width() - 2 * m, body * kPlanShare);
  const Rect plan{m, top, canvas.width() - 2 * m, plan_h};
  const Rect profile{m, plan.bottom() + m, canvas.width() - 2 * m, body - plan.h - m};
  draw_plan(canvas, style, model.trace, facts, plan);
  draw_profile(canvas, style, model.entries, facts, profile);
}

void check_span(const Span& span, int32_t route_length) {
  if (span.from < 0 || span.to > route_length || span.from >= span.to) {
    throw std::invalid_argument("stretch " + std::to_string(span.from) + " to " + std::to_string(span.to) +
                                " m outside the route of " + std::to_string(route_length) + " m");
  }
}

void check_size(int side) {
  if (side < kSmallestSide || side > kLargestSide) {
    throw std::invalid_argument("image side " + std::to_string(side) + " outside " + std::to_string(kSmallestSide) +
                                " to " + std::to_string(kLargestSide) + " pixels");
  }
}

}  // namespace

std::string render_route(const RouteModel& model, const RenderOptions& options) {
  const int32_t route_length = drawn_route_length(model);
  const Span whole = options.span.value_or(Span{0, route_length});
  if (options.span) check_span(whole, route_length);
  const bool pdf = options.format == ImageFormat::kPdf;
  if (!pdf) {
    check_size(options.width);
    check_size(options.height);
  }
  // A route of no length still gets its one page.
  std::vector<Span> pages = pdf ? pdf_pages(whole, options.paper) : std::vector<Span>{whole};
  if (pages.empty()) pages.push_back(whole);
  const bool a3 = options.paper == Paper::kA3;
  Canvas canvas(options.format, pdf ? (a3 ? kA3Long : kA4Long) : options.width,
                pdf ? (a3 ? kA4Long : kA4Short) : options.height);
  for (size_t page = 0; page < pages.size(); ++page) {
    if (page > 0) canvas.next_page();
    const RouteFacts facts = route_facts(model, pages[page], options.cells_before_pass);
    draw_page(canvas, model, facts, page, pages.size());
  }
  return canvas.finish();
}

}  // namespace scenario
