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

// The scenario and train, then what the route holds when there is room.
std::string title_of(Canvas& canvas, const RouteModel& model, const RouteFacts& facts) {
  char length[32];
  std::snprintf(length, sizeof length, "%.1f km", facts.route_length / 1000.0);
  const std::string names = windows1252_to_utf8(model.entries[kScenarioRow].text) + "  \u00B7  train " +
                            windows1252_to_utf8(model.entries[kTrainRow].text);
  const std::string full = names + "  \u00B7  " + length + ", " + std::to_string(facts.stations.size()) +
                           " stations, " + std::to_string(facts.signals.size()) + " signals, " +
                           std::to_string(facts.tunnels.size()) + " tunnels";
  return canvas.text_width(full) <= canvas.width() * 0.95 ? full : names;
}

void check_size(int side) {
  if (side < kSmallestSide || side > kLargestSide) {
    throw std::invalid_argument("image side " + std::to_string(side) + " outside " + std::to_string(kSmallestSide) +
                                " to " + std::to_string(kLargestSide) + " pixels");
  }
}

}  // namespace

std::optional<ImageFormat> image_format_for(const std::filesystem::path& path) {
  const std::string extension = ascii_lower(path.extension().string());
  if (extension == ".svg") return ImageFormat::kSvg;
  if (extension == ".png") return ImageFormat::kPng;
  if (extension == ".pdf") return ImageFormat::kPdf;
  return std::nullopt;
}

std::string render_route(const RouteModel& model, const RenderOptions& options) {
  check_size(options.width);
  check_size(options.height);
  Canvas canvas(options.format, options.width, options.height);
  const Style style(canvas.height());
  const RouteFacts facts = route_facts(model);
  canvas.colour(palette::kBackground);
  canvas.fill_rect(Rect{0, 0, canvas.width(), canvas.height()});

  const double m = style.margin();
  canvas.font(style.font * 1.25, true);
  canvas.colour(palette::kText);
  canvas.text(m, m, title_of(canvas, model, facts), Align{0.0, 0.0});
  const double top = m + style.font * 2.5;
  const double body = canvas.height() - top - m;
  const double plan_h = plan_height(style, model.trace, facts, canvas.width() - 2 * m, body * kPlanShare);
  const Rect plan{m, top, canvas.width() - 2 * m, plan_h};
  const Rect profile{m, plan.bottom() + m, canvas.width() - 2 * m, body - plan.h - m};
  draw_plan(canvas, style, model.trace, facts, plan);
  draw_profile(canvas, style, model.entries, facts, profile);
  return canvas.finish();
}

}  // namespace scenario
