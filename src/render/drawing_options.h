#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "model/route_model.h"
#include "render/route_facts.h"

// What a drawing is asked for: its format, size, stretch and paper. Apart from
// the drawing itself, so that the command line that asks needs no cairo.

namespace scenario {

enum class ImageFormat { kSvg, kPng, kPdf };

inline constexpr double kMetresPerKilometre = 1000.0;

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
  const Cells* cells_before_pass = nullptr;
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

}  // namespace scenario
