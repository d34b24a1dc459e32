#include "render/drawing_options.h"

#include <algorithm>
#include <string>

#include "model/windows1252.h"

namespace scenario {

std::optional<ImageFormat> image_format_for(const std::filesystem::path& path) {
  const std::string extension = ascii_lower(path.extension().string());
  if (extension == ".svg") return ImageFormat::kSvg;
  if (extension == ".png") return ImageFormat::kPng;
  if (extension == ".pdf") return ImageFormat::kPdf;
  return std::nullopt;
}

std::optional<Paper> paper_for(std::string_view name) {
  const std::string lower = ascii_lower(std::string(name));
  if (lower == "a4") return Paper::kA4;
  if (lower == "a3") return Paper::kA3;
  return std::nullopt;
}

std::vector<Span> pdf_pages(const Span& span, Paper paper) {
  const int32_t most = static_cast<int32_t>(
      (paper == Paper::kA3 ? kA3PageKilometres : kPageKilometres) * kMetresPerKilometre);
  std::vector<Span> pages;
  for (int32_t from = span.from; from < span.to; from += most) {
    pages.push_back(Span{from, std::min(span.to, from + most)});
  }
  return pages;
}

}  // namespace scenario
