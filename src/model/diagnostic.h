#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace scenario {

// Where a field of a source began: 1-based line and byte column, and the
// byte offset in the source's text, through which the field's line is found
// without a search. Line 0 means no field is concerned (a failure before the
// first read, or one about a whole file).
struct FieldSite {
  int line = 0;
  int column = 0;
  size_t offset = 0;
};

// The stretch of a source line that a diagnostic shows: never the whole
// line, only enough of it on both sides of the column at fault for the echo.
struct LineExcerpt {
  std::string text;
  int first_column = 1;    // the line's column of text's first byte
  bool cut_after = false;  // the line goes on after text
};

// Where a reader stopped and why.
struct ErrorSite {
  std::string file;  // file name of the source, without directory
  int line = 0;      // 1-based line of the refused record or failed field
  int column = 0;    // 1-based column of the field at fault
  LineExcerpt excerpt;
  std::string detail;  // what was wrong, where, and what was in the way
};

// A site that concerns a whole file rather than one of its fields.
inline ErrorSite file_site(std::string file, std::string detail) {
  ErrorSite site;
  site.file = std::move(file);
  site.detail = std::move(detail);
  return site;
}

enum class Severity { kError, kWarning };

// One message for the route author: an error with its number (0 for a
// failure that has none), or a warning with its short name; and the other
// places it depends on (the record that took a cell first, say), each shown
// as a note after it.
struct Diagnostic {
  Severity severity = Severity::kError;
  int32_t code = 0;
  std::string name;  // a warning's name
  ErrorSite site;
  std::vector<ErrorSite> notes = {};
};

}  // namespace scenario
