#include "lsp/field_extent.h"

#include <cctype>

namespace scenario::lsp {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

size_t field_end(std::string_view line, size_t start) {
  if (start >= line.size()) return line.size();
  if (line[start] == '"') {
    const size_t close = line.find('"', start + 1);
    return close == std::string_view::npos ? line.size() : close + 1;
  }
  const bool number = line[start] == '-' || std::isdigit(static_cast<unsigned char>(line[start])) != 0;
  size_t end = start;
  while (end < line.size() && line[end] != ',' && !(number && is_blank(line[end]))) ++end;
  while (end > start && is_blank(line[end - 1])) --end;
  return end;
}

size_t content_end(std::string_view line) {
  size_t end = line.size();
  while (end > 0 && (is_blank(line[end - 1]) || line[end - 1] == ',')) --end;
  return end;
}

}  // namespace scenario::lsp
