#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A source as the editor holds it (UTF-8, positions in UTF-16 code units)
// beside the Windows-1252 bytes the reader reads (positions in bytes).

namespace scenario::lsp {

// A place in a text as the protocol gives it: 0-based line, and the column
// in UTF-16 code units of that line.
struct Position {
  int line = 0;
  int character = 0;
  bool operator==(const Position&) const = default;
};

struct Range {
  Position start;
  Position end;
  bool operator==(const Range&) const = default;
};

class EditorText {
 public:
  // The editor's UTF-8 text. A character the code page lacks reaches the
  // reader as '?', so that the rest is still checked.
  static EditorText from_utf8(std::string_view utf8);
  // A source's own bytes, as a file on disk holds them.
  static EditorText from_bytes(std::string bytes);

  // The bytes the reader reads.
  const std::string& bytes() const { return bytes_; }
  // Whether a character of the editor's text had no byte of its own.
  bool replaced_any() const { return !replaced_.empty(); }
  // Whether a character of line (0-based) had no byte of its own.
  bool line_has_replacement(int line) const;

  int line_count() const { return static_cast<int>(line_starts_.size()); }
  // A line's bytes, without its line end.
  std::string_view line(int line) const;
  size_t line_start(int line) const;

  // The editor's place of a byte column (0-based) of a line, and back.
  Position position(int line, size_t byte_column) const;
  size_t byte_column(Position position) const;

 private:
  void index_lines();
  // How many extra UTF-16 units the replaced characters of line before
  // byte_column take.
  int extra_units_before(int line, size_t byte_column) const;

  std::string bytes_;
  std::vector<size_t> line_starts_;
  // The byte offsets of the '?' of characters that take two UTF-16 units.
  std::vector<size_t> wide_;
  // The byte offsets of every replaced character.
  std::vector<size_t> replaced_;
};

}  // namespace scenario::lsp
