#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "model/route_model.h"
#include "render/canvas.h"

namespace scenario {

inline constexpr int kDefaultWidth = 1600;
inline constexpr int kDefaultHeight = 1000;
// Below this the drawing has no room for its texts; above it a PNG grows past
// a quarter of a gigabyte in memory.
inline constexpr int kSmallestSide = 480;
inline constexpr int kLargestSide = 8000;

struct RenderOptions {
  ImageFormat format = ImageFormat::kSvg;
  int width = kDefaultWidth;
  int height = kDefaultHeight;
};

// The format the name asks for: .svg, .png or .pdf, in any letter case.
std::optional<ImageFormat> image_format_for(const std::filesystem::path& path);

// The route drawn from a decoded scenario (trace, entries and cells; the trace
// may be empty): a title, the plan above and the profile below. Returns the
// bytes of the image; throws std::invalid_argument for a size outside
// kSmallestSide to kLargestSide and std::runtime_error when cairo fails.
std::string render_route(const RouteModel& model, const RenderOptions& options);

}  // namespace scenario
