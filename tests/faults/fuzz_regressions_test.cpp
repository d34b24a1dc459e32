#include <gtest/gtest.h>

#include <string>

#include "format/line_geometry.h"
#include "inspect/scenario_json.h"

namespace scenario {
namespace {

// Inputs the fuzz targets found faults with, kept once mended; the sanitizer
// build of the suite watches them.

// A double of the plan read for JSON through a reference into its packed
// value: misaligned from the second value on.
TEST(FuzzRegressions, EveryDoubleOfThePlanReachesTheJsonView) {
  const std::string geometry(
      "\x05\x00\x00\x00\x00\x00\x00\x00\xF8\x3F"   // x0 = 1.5
      "\x05\x00\x00\x00\x00\x00\x00\x00\x04\x40"   // x1 = 2.5
      "\x05\x00\x00\x00\x00\x00\x00\x00\x0C\x40"   // y0 = 3.5
      "\x05\x00\x00\x00\x00\x00\x00\x00\x12\x40",  // y1 = 4.5
      40);
  const nlohmann::ordered_json json = line_geometry_json(decode_line_geometry(geometry), true);
  EXPECT_EQ(json["x"], nlohmann::ordered_json({1.5, 2.5}));
  EXPECT_EQ(json["y"], nlohmann::ordered_json({3.5, 4.5}));
}

}  // namespace
}  // namespace scenario
