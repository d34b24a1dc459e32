#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/numeric.h"

namespace scenario {

// Reads a text source held in memory strictly in sequence, one comma- or
// line-separated field at a time, as text or as a number. Every failure (a
// read past the end, a field that is no number, a number too wide for its
// field) throws RunFailure.
class FieldReader {
 public:
  explicit FieldReader(std::string_view text);

  // True once nothing is left to read.
  bool at_end() const;

  // The next field as text.
  std::string read_text();

  // The next number as a signed 32-bit integer.
  int32_t read_number();

  // The next number, which must fit T (int16_t, uint8_t ...).
  template <typename T>
  T read_number_as() {
    return narrow<T>(read_number());
  }

  // Where the field most recently read began (1-based), for diagnostics.
  int field_line() const { return field_line_; }
  int field_column() const { return field_column_; }

  // The text of a 1-based line without its line end.
  std::string_view line_text(int line) const;

 private:
  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 1;           // line at pos_
  size_t line_start_ = 0;  // offset of the first byte of line_
  int field_line_ = 0;
  int field_column_ = 0;
};

}  // namespace scenario
