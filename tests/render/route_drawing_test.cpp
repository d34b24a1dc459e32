#include "render/route_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

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

// The character data of every <text> element, as the file holds it.
std::vector<std::string> svg_texts(const std::string& svg) {
  static const std::regex text_element("<text[^>]*>([^<]*)</text>");
  std::vector<std::string> texts;
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), text_element); it != std::sregex_iterator(); ++it) {
    texts.push_back((*it)[1].str());
  }
  return texts;
}

size_t count_of(const std::vector<std::string>& texts, const std::string& text) {
  return static_cast<size_t>(std::count(texts.begin(), texts.end(), text));
}

bool any_starts_with(const std::vector<std::string>& texts, const std::string& prefix) {
  return std::any_of(texts.begin(), texts.end(), [&](const std::string& t) { return t.starts_with(prefix); });
}

std::string svg_of(const RouteModel& model, std::optional<Span> span = std::nullopt) {
  return render_route(model, RenderOptions{.format = ImageFormat::kSvg, .span = span});
}

TEST(RenderRoute, SvgIsWellFormedAndOfTheRequestedSize) {
  const std::string svg =
      render_route(handmade_route(2000, 0.001), RenderOptions{.format = ImageFormat::kSvg, .width = 900, .height = 600});
  const testing::XmlRoot root = testing::XmlCheck::root_of(svg);
  EXPECT_EQ(root.name, "svg");
  EXPECT_EQ(root.attributes.at("width"), "900px");
  EXPECT_EQ(root.attributes.at("height"), "600px");
  EXPECT_THROW(testing::XmlCheck::root_of(svg.substr(0, svg.size() - 10)), std::runtime_error);  // the check bites
}

TEST(RenderRoute, PngHasTheRequestedSizeAndMoreThanOneColour) {
  const auto png = decode_png(render_route(handmade_route(2000, 0.001), RenderOptions{.format = ImageFormat::kPng, .width = 700, .height = 500}));
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
        render_route(handmade_route(route.length, route.curvature), RenderOptions{.format = ImageFormat::kPng, .width = 800, .height = 500}));
    EXPECT_GT(pixels_of(png, palette::kTrack), 200u) << route.name;
  }
}

TEST(RenderRoute, WithoutTraceOnlyTheProfileIsDrawn) {
  RouteModel model = handmade_route(2000, 0.0);
  model.trace = Trace{};
  const auto png = decode_png(render_route(model, RenderOptions{.format = ImageFormat::kPng, .width = 800, .height = 500}));
  EXPECT_EQ(pixels_of(png, palette::kTrack), 0u);
  EXPECT_GT(pixels_of(png, palette::kSpeedLine), 200u);
}

TEST(RenderRoute, ModelWithNothingInItStillGivesAnImage) {
  const auto png = decode_png(render_route(RouteModel{}, RenderOptions{.format = ImageFormat::kPng, .width = 600, .height = 500}));
  EXPECT_EQ(png.width, 600);
}

TEST(RenderRoute, SizeOutsideTheLimitsIsRefused) {
  const RouteModel model = handmade_route(2000, 0.0);
  EXPECT_THROW(render_route(model, RenderOptions{.format = ImageFormat::kPng, .width = kSmallestSide - 1, .height = 500}), std::invalid_argument);
  EXPECT_THROW(render_route(model, RenderOptions{.format = ImageFormat::kSvg, .width = 800, .height = kLargestSide + 1}), std::invalid_argument);
  EXPECT_NO_THROW(render_route(model, RenderOptions{.format = ImageFormat::kPng, .width = kSmallestSide, .height = kSmallestSide}));
}

TEST(RenderRoute, PdfIsADocumentOfItsOwn) {
  const std::string pdf = render_route(handmade_route(2000, 0.001), RenderOptions{.format = ImageFormat::kPdf, .width = 800, .height = 500});
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

// Names, times, signal positions, board texts and speeds are searchable
// texts of the SVG, not glyph outlines; a station name stands in the plan
// and in the profile.
TEST(RenderRoute, SvgHoldsEveryLabelAsText) {
  RouteModel model = handmade_route(3000, 0.001);
  model.entries[1].long4 = 10 * 3600 + 57 * 60;
  model.cells[25] = Cell{.kind = kTextBoard, .p1 = 80};
  model.entries[80].text = "(SOTTOVIA)(A1)";
  model.cells[33] = Cell{.kind = kWarningBoard, .p1 = 35};
  model.cells[45] = Cell{.kind = kReductionValue, .p1 = 65};
  const std::string svg = svg_of(model);
  EXPECT_NO_THROW(testing::XmlCheck::root_of(svg));
  EXPECT_EQ(svg.find("<glyph"), std::string::npos);
  const std::vector<std::string> texts = svg_texts(svg);
  const struct {
    const char* text;
    size_t count;
  } expected[] = {
      {"DORVALLO", 2}, {"FINE", 2},          // plan and profile
      {"10:57:00", 1},                       // DORVALLO's scheduled time
      {"00:00:00", 1},                       // FINE's, as stored
      {"1000", 1},                           // the signal at 1000 m
      {"SOTTOVIA / A1", 1}, {"35", 1},       // indication board, warning board
      {"65", 1},                             // speed reduction point
      {"speed reduction point", 1}, {"added by the compiler", 1}, {"slowdown warning board", 1},
      {"signal", 2},                         // the legends of plan and profile
  };
  for (const auto& e : expected) EXPECT_EQ(count_of(texts, e.text), e.count) << e.text;
}

TEST(RenderRoute, SvgTextsAreEscaped) {
  RouteModel model = handmade_route(3000, 0.0);
  model.entries[2].text = "A&B <C> \"D\" \x01";
  const std::string svg = svg_of(model);
  EXPECT_NO_THROW(testing::XmlCheck::root_of(svg));
  EXPECT_EQ(count_of(svg_texts(svg), "A&amp;B &lt;C&gt; &quot;D&quot; \uFFFD"), 2u);
}

// A name of 100 characters is cut with an ellipsis, in the plan and in the
// profile, rather than left out or run over its neighbours.
TEST(RenderRoute, LongNamesEndInAnEllipsis) {
  RouteModel model = handmade_route(3000, 0.0);
  const std::string name(100, 'W');
  model.entries[2].text = name;
  const std::vector<std::string> texts = svg_texts(svg_of(model));
  EXPECT_EQ(count_of(texts, name), 0u);
  size_t cut = 0;
  for (const std::string& t : texts) cut += t.starts_with("WWW") && t.ends_with("\u2026") && t.size() < name.size();
  EXPECT_EQ(cut, 2u);
}

TEST(RenderRoute, SpanDrawsOnlyWhatStandsInIt) {
  const RouteModel model = handmade_route(4000, 0.0);
  const std::vector<std::string> whole = svg_texts(svg_of(model));
  const std::vector<std::string> stretch = svg_texts(svg_of(model, Span{500, 2500}));
  EXPECT_EQ(count_of(whole, "DORVALLO"), 2u);
  EXPECT_EQ(count_of(stretch, "DORVALLO"), 0u);
  EXPECT_EQ(count_of(stretch, "1000"), 1u);  // the signal
  EXPECT_TRUE(any_starts_with(stretch, "Prova  \u00B7  train 1  \u00B7  km 0.5 to 2.5 of 4")) << stretch.front();
  for (const Span bad : {Span{2500, 500}, Span{-50, 1000}, Span{0, 4050}, Span{100, 100}}) {
    EXPECT_THROW(svg_of(model, bad), std::invalid_argument) << bad.from << " " << bad.to;
  }
}

// A PDF is printed on landscape sheets, a page for every 20 km (30 km on A3).
TEST(RenderRoute, PdfPagesCoverTheSpanOnItsPaper) {
  const struct {
    Paper paper;
    const char* media_box;
    int32_t length;
    size_t pages;
  } cases[] = {
      {Paper::kA4, "/MediaBox [ 0 0 841.889764 595.275591 ]", 3000, 1},
      {Paper::kA4, "/MediaBox [ 0 0 841.889764 595.275591 ]", 45000, 3},
      {Paper::kA3, "/MediaBox [ 0 0 1190.551181 841.889764 ]", 45000, 2},
      {Paper::kA3, "/MediaBox [ 0 0 1190.551181 841.889764 ]", 60000, 2},
  };
  for (const auto& c : cases) {
    const std::string pdf =
        render_route(handmade_route(c.length, 0.0), RenderOptions{.format = ImageFormat::kPdf, .paper = c.paper});
    size_t boxes = 0;
    for (size_t at = pdf.find("/MediaBox"); at != std::string::npos; at = pdf.find("/MediaBox", at + 1)) {
      EXPECT_EQ(pdf.compare(at, std::string(c.media_box).size(), c.media_box), 0) << pdf.substr(at, 50);
      ++boxes;
    }
    EXPECT_EQ(boxes, c.pages) << c.length;
  }
}

TEST(PdfPages, EachPageBeginsWhereTheOneBeforeEnds) {
  const std::vector<Span> pages = pdf_pages(Span{500, 45000}, Paper::kA4);
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(pages[0].from, 500);
  EXPECT_EQ(pages[0].to, 20500);
  EXPECT_EQ(pages[1].to, 40500);
  EXPECT_EQ(pages[2].to, 45000);
  EXPECT_EQ(pdf_pages(Span{0, 117000}, Paper::kA3).size(), 4u);
}

TEST(PaperFor, A4AndA3InAnyCase) {
  EXPECT_EQ(paper_for("a4"), Paper::kA4);
  EXPECT_EQ(paper_for("A3"), Paper::kA3);
  EXPECT_EQ(paper_for("letter"), std::nullopt);
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
