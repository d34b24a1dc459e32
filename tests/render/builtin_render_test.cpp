#include <gtest/gtest.h>

#include <set>
#include <string>

#include "inspect/compiled_builtin.h"
#include "inspect/scenario_file.h"
#include "render/png_pixels.h"
#include "render/route_drawing.h"
#include "render/route_facts.h"

namespace scenario {
namespace {

TEST(BuiltInRoute, RendersFromItsCompiledFiles) {
  testing::TempDir dir;
  RunFiles files;
  if (const auto failure = testing::compile_builtin(dir.path(), files)) {
    FAIL() << "the built-in scenario does not compile: " << *failure;
  }
  const RouteModel model = load_scenario(files);
  const RouteFacts facts = route_facts(model);
  EXPECT_EQ(facts.route_length, 117000);
  EXPECT_EQ(facts.stations.size(), 24u);
  EXPECT_EQ(facts.signals.size(), 61u);
  EXPECT_EQ(facts.tunnels.size(), 27u);
  const auto png = testing::decode_png(render_route(model, RenderOptions{.format = ImageFormat::kPng, .width = 1600, .height = 1000}));
  EXPECT_EQ(png.width, 1600);
  EXPECT_EQ(png.height, 1000);
  EXPECT_GT(std::set<uint32_t>(png.rgb.begin(), png.rgb.end()).size(), 50u);
}

size_t occurrences(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// 117 km: six A4 pages of 20 km (the last of 17), four A3 pages of 30 km.
TEST(BuiltInRoute, PdfHasAPageForEveryTwentyKilometresOnA4) {
  testing::TempDir dir;
  RunFiles files;
  if (const auto failure = testing::compile_builtin(dir.path(), files)) {
    FAIL() << "the built-in scenario does not compile: " << *failure;
  }
  const RouteModel model = load_scenario(files);
  const struct {
    Paper paper;
    size_t pages;
  } cases[] = {{Paper::kA4, 6}, {Paper::kA3, 4}};
  for (const auto& c : cases) {
    const std::string pdf = render_route(model, RenderOptions{.format = ImageFormat::kPdf, .paper = c.paper});
    EXPECT_EQ(occurrences(pdf, "/Type /Page") - occurrences(pdf, "/Type /Pages"), c.pages);
    EXPECT_EQ(occurrences(pdf, "/MediaBox"), c.pages);
  }
}

}  // namespace
}  // namespace scenario
