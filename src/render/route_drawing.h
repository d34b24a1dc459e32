#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/route_model.h"
#include "render/canvas.h"
#include "render/route_facts.h"

namespace scenario {

inline constexpr int kDefaultWidth = 1600;
inline constexpr int kDefaultHeight = 1000;
// Below this the drawing has no room for its texts; above it a PNG grows past
// a quarter of a gigabyte in memory.
inline constexpr int kSmallestSide = 480;
inline constexpr int kLargestSide = 8000;

// The landscape sheets a PDF is printed on.
enum class Paper { kA4, kA3 };

struct RenderOptions {
  ImageFormat format = ImageFormat::kSvg;
  int width = kDefaultWidth;  // SVG and PNG, in pixels
  int height = kDefaultHeight;
  std::optional<Span> span = std::nullopt;  // the whole route when none
  Paper paper = Paper::kA4;  // PDF
  // The cell grid before the compiler's pass, which tells its speed
  // reduction points from the author's; unknown when null.
  const std::vector<Cell>* cells_before_pass = nullptr;
};

// The format the name asks for: .svg, .png or .pdf, in any letter case.
std::optional<ImageFormat> image_format_for(const std::filesystem::path& path);

// The paper a name asks for, "a4" or "a3" in any letter case.
std::optional<Paper> paper_for(std::string_view name);

// The pages of a PDF of the span: a page holds at most kPageKilometres of
// route on A4 and kA3PageKilometres on A3, each page beginning where the one
// before it ends.
inline constexpr int32_t kPageKilometres = 20;
inline constexpr int32_t kA3PageKilometres = 30;
std::vector<Span> pdf_pages(const Span& span, Paper paper);

// The route drawn from a decoded scenario (trace, entries and cells; the trace
// may be empty): a title, the plan above and the profile below, of the whole
// route or of the span asked for. A PDF has a page for each of pdf_pages on
// its paper, whatever the width and height. Returns the bytes of the image;
// throws std::invalid_argument for a size outside kSmallestSide to
// kLargestSide or a span outside the route, and std::runtime_error when
// cairo fails.
std::string render_route(const RouteModel& model, const RenderOptions& options);

}  // namespace scenario
