#include "lsp/editor_text.h"

#include <algorithm>
#include <optional>

#include "model/windows1252.h"

namespace scenario::lsp {
namespace {

constexpr char kReplacement = '?';

// The length of the UTF-8 sequence a lead byte opens; 1 for a stray byte.
size_t sequence_length(unsigned char lead) {
  if (lead >= 0xF0 && lead < 0xF8) return 4;
  if (lead >= 0xE0) return lead < 0xF0 ? 3 : 1;
  if (lead >= 0xC0) return 2;
  return 1;
}

}  // namespace

EditorText EditorText::from_utf8(std::string_view utf8) {
  EditorText text;
  if (std::optional<std::string> whole = utf8_to_windows1252(utf8)) {
    text.bytes_ = std::move(*whole);
  } else {
    // Character by character: only the ones the code page lacks are lost.
    for (size_t i = 0; i < utf8.size();) {
      const size_t length = std::min(sequence_length(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
      const std::optional<std::string> one = utf8_to_windows1252(utf8.substr(i, length));
      if (one && one->size() == 1) {
        text.bytes_ += *one;
      } else {
        text.replaced_.push_back(text.bytes_.size());
        if (length == 4) text.wide_.push_back(text.bytes_.size());
        text.bytes_ += kReplacement;
      }
      i += length;
    }
  }
  text.index_lines();
  return text;
}

EditorText EditorText::from_bytes(std::string bytes) {
  EditorText text;
  text.bytes_ = std::move(bytes);
  text.index_lines();
  return text;
}

// A line ends with CR LF, a lone LF or a lone CR, for the reader and the
// editor alike.
void EditorText::index_lines() {
  line_starts_ = {0};
  for (size_t i = 0; i < bytes_.size(); ++i) {
    if (bytes_[i] == '\r' && i + 1 < bytes_.size() && bytes_[i + 1] == '\n') ++i;
    if (bytes_[i] == '\r' || bytes_[i] == '\n') line_starts_.push_back(i + 1);
  }
}

bool EditorText::line_has_replacement(int line) const {
  const size_t start = line_start(line);
  const size_t end = start + this->line(line).size();
  return std::any_of(replaced_.begin(), replaced_.end(), [&](size_t at) { return at >= start && at < end; });
}

size_t EditorText::line_start(int line) const {
  return line_starts_[static_cast<size_t>(std::clamp(line, 0, line_count() - 1))];
}

std::string_view EditorText::line(int line) const {
  if (line < 0 || line >= line_count()) return {};
  const size_t start = line_start(line);
  size_t end = line + 1 < line_count() ? line_starts_[static_cast<size_t>(line) + 1] : bytes_.size();
  while (end > start && (bytes_[end - 1] == '\n' || bytes_[end - 1] == '\r')) --end;
  return std::string_view(bytes_).substr(start, end - start);
}

int EditorText::extra_units_before(int line, size_t byte_column) const {
  const size_t start = line_start(line);
  return static_cast<int>(std::lower_bound(wide_.begin(), wide_.end(), start + byte_column) -
                          std::lower_bound(wide_.begin(), wide_.end(), start));
}

// Every other character of the code page is one UTF-16 unit, as it is one byte.
Position EditorText::position(int line, size_t byte_column) const {
  const int clamped = std::clamp(line, 0, line_count() - 1);
  const size_t column = std::min(byte_column, this->line(clamped).size());
  return {clamped, static_cast<int>(column) + extra_units_before(clamped, column)};
}

size_t EditorText::byte_column(Position position) const {
  const size_t start = line_start(position.line);
  const std::string_view text = line(position.line);
  size_t column = 0;
  for (int units = 0; column < text.size(); ++column) {
    units += std::binary_search(wide_.begin(), wide_.end(), start + column) ? 2 : 1;
    if (units > position.character) break;
  }
  return column;
}

}  // namespace scenario::lsp
