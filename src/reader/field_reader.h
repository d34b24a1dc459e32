#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/diagnostic.h"
#include "model/numeric.h"

namespace scenario {

// The offset of the first comma or line end at or after from in text, or
// its size: where an unquoted field ends. The readers' hottest scan, over
// every byte of every comment.
size_t field_end(std::string_view text, size_t from);

// Reads a text source held in memory strictly in sequence, one comma- or
// line-separated field at a time, as text or as a number. Every failure (a
// read past the end, a field that is no number, a number too wide for its
// field) throws RunFailure.
//
// A line ends with CR LF; a lone LF or a lone CR ends it too, so that a source
// saved by another editor reads the same. Blanks are spaces and tabs.
class FieldReader {
 public:
  // text must outlive the reader; file_name names it in diagnostics.
  explicit FieldReader(std::string_view text, std::string file_name = {});

  // True once nothing is left to read.
  bool at_end() const { return pos_ >= text_.size(); }

  // The next field as text. Blanks before it are skipped; a field opened by a
  // double quote runs to the next double quote (commas and line ends inside
  // belong to it) and the rest up to the separator is dropped; any other field
  // runs to the next comma or line end, without the blanks at its end (they
  // are padding, never part of a keyword or a board text). The separator is
  // consumed. An empty line gives one empty field; a quote that is never
  // closed is a failure rather than the rest of the file. The field is a view
  // of the text.
  std::string_view read_text();

  // The next number as a signed 32-bit integer: blanks, an optional minus and
  // digits, ended by a blank, a comma, a line end or the end of the text;
  // blanks after it and one comma or line end after them are consumed. An
  // empty field is no number.
  int32_t read_number();

  // The next number, which must fit T (int16_t, uint8_t ...).
  template <typename T>
  T read_number_as() {
    return narrow<T>(read_number());
  }

  // Where the field most recently read (or attempted) began.
  FieldSite site() const { return {field_line_, field_column_, field_offset_}; }

  const std::string& file_name() const { return file_name_; }

  // Whether the field most recently read (or attempted) is the first of its
  // line, only blanks before it.
  bool field_opens_line() const { return field_opens_line_; }

  // How many fields have been read whole so far.
  int fields_read() const { return fields_read_; }

  const std::string_view& text() const { return text_; }

  // The place of column on the line of site.
  static FieldSite on_line_of(FieldSite site, int column);

  // The offset of the first byte of site's line.
  static size_t line_start_of(FieldSite site) { return site.offset - static_cast<size_t>(site.column - 1); }

  // The part of site's line that a diagnostic shows: up to kExcerptReach
  // bytes on either side of its column, never more, however long the line.
  LineExcerpt excerpt(FieldSite site) const;
  static constexpr size_t kExcerptReach = 200;

  // The column just after the last byte of site's line that is neither a
  // blank nor a comma, looking from site on.
  int content_end_column(FieldSite site) const;

  // For a reading that goes on after a refused record: the reader moves to
  // the start of the line of a site already read, or past the rest of the
  // line it stands in.
  void restart_at_line_of(FieldSite site);
  void skip_rest_of_line();
  bool at_line_start() const { return pos_ == line_start_; }
  int line() const { return line_; }

  // Where the reader stands: after a record's last field, what follows it
  // on its line.
  FieldSite here() const;

  // field_end(text(), start), remembered for the last start asked: a look at
  // the field after a record and the reading of that field as the next token
  // scan it once, however long a comment it is.
  size_t field_end_from(size_t start) const;

  // While into is set, every field read whole is added to it as written (a
  // number's sign and digits, a text without its quotes): how a front end
  // shows a record's fields as the reader took them. Null stops it.
  void keep_fields(std::vector<std::string>* into) { kept_ = into; }

 private:
  void skip_blanks();
  void mark_field_start();
  void consume_separator();
  void consume_line_end();
  void keep(std::string_view field) {
    if (kept_ != nullptr) kept_->emplace_back(field);
  }

  std::string_view text_;
  std::string file_name_;
  size_t pos_ = 0;
  int line_ = 1;           // line at pos_
  size_t line_start_ = 0;  // offset of the first byte of line_
  bool content_on_line_ = false;  // a field or a separator stands before pos_ on its line
  int field_line_ = 0;
  int field_column_ = 0;
  size_t field_offset_ = 0;
  bool field_opens_line_ = false;
  int fields_read_ = 0;
  std::vector<std::string>* kept_ = nullptr;
  mutable size_t end_asked_from_ = std::string_view::npos;
  mutable size_t end_found_ = 0;
};

}  // namespace scenario
