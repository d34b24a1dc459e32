#include "render/route_drawing.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

#include "render/handmade_route.h"
#include "render/png_pixels.h"
#include "render/style.h"
#include "render/xml_check.h"

namespace scenario {
namespace {

using testing::decode_png;
using testing::handmade_route;

// Pixels of about this colour (cairo keeps 8 bits a channel and rounds its
// own way).
size_t pixels_of(const testing::PngPixels& png, const Colour& c) {
  const auto near = [](uint32_t pixel, int shift, double v) {
    return std::abs(static_cast<int>((pixel >> shift) & 0xFFu) - static_cast<int>(v * 255)) <= 2;
  };
  size_t n = 0;
  for (const uint32_t p : png.rgb) n += near(p, 16, c.r) && near(p, 8, c.g) && near(p, 0, c.b);
  return n;
}

TEST(RenderRoute, SvgIsWellFormedAndOfTheRequestedSize) {
  const std::string svg = render_route(handmade_route(2000, 0.001), RenderOptions{ImageFormat::kSvg, 900, 600});
  const testing::XmlRoot root = testing::XmlCheck::root_of(svg);
  EXPECT_EQ(root.name, "svg");
  EXPECT_EQ(root.attributes.at("width"), "900px");
  EXPECT_EQ(root.attributes.at("height"), "600px");
  EXPECT_THROW(testing::XmlCheck::root_of(svg.substr(0, svg.size() - 10)), std::runtime_error);  // the check bites
}

TEST(RenderRoute, PngHasTheRequestedSizeAndMoreThanOneColour) {
  const auto png = decode_png(render_route(handmade_route(2000, 0.001), RenderOptions{ImageFormat::kPng, 700, 500}));
  EXPECT_EQ(png.width, 700);
  EXPECT_EQ(png.height, 500);
  EXPECT_GT(std::set<uint32_t>(png.rgb.begin(), png.rgb.end()).size(), 10u);
}

// The plan is fitted to the route: a straight one has no width, a loop no
// chord; both must still be drawn, not scaled away.
TEST(RenderRoute, PlanIsDrawnForStraightShortAndClosedRoutes) {
  const struct {
    const char* name;
    int32_t length;
    double curvature;
  } routes[] = {
      {"no curves", 2000, 0.0},
      {"short", 400, 0.002},
      {"closed loop", 6283, 0.001},  // one full turn: it ends where it began
      {"long and curved", 30000, 0.0001},
  };
  for (const auto& route : routes) {
    const auto png = decode_png(
        render_route(handmade_route(route.length, route.curvature), RenderOptions{ImageFormat::kPng, 800, 500}));
    EXPECT_GT(pixels_of(png, palette::kTrack), 200u) << route.name;
  }
}

TEST(RenderRoute, WithoutTraceOnlyTheProfileIsDrawn) {
  RouteModel model = handmade_route(2000, 0.0);
  model.trace = Trace{};
  const auto png = decode_png(render_route(model, RenderOptions{ImageFormat::kPng, 800, 500}));
  EXPECT_EQ(pixels_of(png, palette::kTrack), 0u);
  EXPECT_GT(pixels_of(png, palette::kSpeedLine), 200u);
}

TEST(RenderRoute, ModelWithNothingInItStillGivesAnImage) {
  const auto png = decode_png(render_route(RouteModel{}, RenderOptions{ImageFormat::kPng, 600, 500}));
  EXPECT_EQ(png.width, 600);
}

TEST(RenderRoute, SizeOutsideTheLimitsIsRefused) {
  const RouteModel model = handmade_route(2000, 0.0);
  EXPECT_THROW(render_route(model, RenderOptions{ImageFormat::kPng, kSmallestSide - 1, 500}), std::invalid_argument);
  EXPECT_THROW(render_route(model, RenderOptions{ImageFormat::kSvg, 800, kLargestSide + 1}), std::invalid_argument);
  EXPECT_NO_THROW(render_route(model, RenderOptions{ImageFormat::kPng, kSmallestSide, kSmallestSide}));
}

TEST(RenderRoute, PdfIsADocumentOfItsOwn) {
  const std::string pdf = render_route(handmade_route(2000, 0.001), RenderOptions{ImageFormat::kPdf, 800, 500});
  EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
  EXPECT_NE(pdf.find("%%EOF"), std::string::npos);
}

// Each object kind the profile draws adds pixels of its own colour to the
// page (the legend shows every symbol once whatever the route holds).
TEST(RenderRoute, LinesideObjectsChangeTheDrawnProfile) {
  struct Case {
    const char* what;
    void (*add)(RouteModel&);
    Colour colour;
  };
  const Case cases[] = {
      {"slowdown at 30 km/h under the 100 km/h limit",
       [](RouteModel& m) {
         m.cells[12].kind = kSlowdownStart;
         m.cells[30].kind = kSlowdownEnd;
         m.cells[12].p1 = m.cells[30].p1 = 30;
       },
       palette::kSlowdownLine},
      {"indication board", [](RouteModel& m) { m.cells[25].kind = kTextBoard; }, palette::kIndicationBoard},
      {"speed reduction point",
       [](RouteModel& m) {
         m.cells[26].kind = kReductionValue;
         m.cells[26].p1 = 180;
       },
       palette::kReduction},
  };
  const RenderOptions png{ImageFormat::kPng, kDefaultWidth, kDefaultHeight};
  for (const Case& c : cases) {
    RouteModel model = handmade_route(2000, 0.0);
    const size_t before = pixels_of(decode_png(render_route(model, png)), c.colour);
    c.add(model);
    const size_t after = pixels_of(decode_png(render_route(model, png)), c.colour);
    EXPECT_GT(after, before + 10) << c.what;
  }
}

TEST(ImageFormatFor, TheExtensionTellsTheFormat) {
  EXPECT_EQ(image_format_for("route.svg"), ImageFormat::kSvg);
  EXPECT_EQ(image_format_for("dir.png/ROUTE.PNG"), ImageFormat::kPng);
  EXPECT_EQ(image_format_for("Route.Pdf"), ImageFormat::kPdf);
  EXPECT_EQ(image_format_for("route.jpg"), std::nullopt);
  EXPECT_EQ(image_format_for("svg"), std::nullopt);
}

}  // namespace
}  // namespace scenario
