#include <gtest/gtest.h>

#include <set>

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
  const auto png = testing::decode_png(render_route(model, RenderOptions{ImageFormat::kPng, 1600, 1000}));
  EXPECT_EQ(png.width, 1600);
  EXPECT_EQ(png.height, 1000);
  EXPECT_GT(std::set<uint32_t>(png.rgb.begin(), png.rgb.end()).size(), 50u);
}

}  // namespace
}  // namespace scenario
