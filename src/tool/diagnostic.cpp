#include "tool/diagnostic.h"

namespace scenario::tool {
namespace {

// Blanks up to the column, keeping tabs so that the caret lines up under the
// field whatever the tab width.
std::string caret_line(const std::string& source_line, int column) {
  std::string line;
  for (int i = 0; i + 1 < column; ++i) {
    const bool tab = static_cast<size_t>(i) < source_line.size() && source_line[static_cast<size_t>(i)] == '\t';
    line += tab ? '\t' : ' ';
  }
  return line + "^";
}

}  // namespace

std::string format_diagnostic(int32_t error_code, const ErrorSite& site) {
  std::string text = site.file;
  if (site.line > 0) text += ":" + std::to_string(site.line);
  text += ": error " + std::to_string(error_code) + ": " + site.detail + "\n";
  if (site.line > 0) {
    text += site.source_line + "\n";
    if (site.column > 0) text += caret_line(site.source_line, site.column) + "\n";
  }
  return text;
}

}  // namespace scenario::tool
