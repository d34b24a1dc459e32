#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace scenario {

// Where a reader stopped and why, for diagnostics beside error_code.
struct ErrorSite {
  std::string file;    // file name of the source, without directory
  int line = 0;        // 1-based line of the refused record or failed field
  int column = 0;      // 1-based column of the field at fault
  std::string source_line;
  std::string detail;  // what was wrong, where, and what was in the way
};

enum class Severity { kError, kWarning };

// One message for the route author: an error with its number (0 for a
// failure that has none), or a warning with its short name.
struct Diagnostic {
  Severity severity = Severity::kError;
  int32_t code = 0;
  std::string name;  // a warning's name
  ErrorSite site;
};

// What the readers tell the author besides error_code. Nothing here decides
// anything that is stored or written.
struct ReaderNotes {
  // A recovering reading (scenario check) notes a refused record and reads
  // on from the next record; it never feeds a compilation.
  bool recover = false;
  // Warnings as they are met and, when recovering, the errors too, in reading
  // order.
  std::vector<Diagnostic> list;
  // The record that last wrote cell 1, which holds the reserved marks.
  ErrorSite reserved_cell;
  // The record that stored the text of an entries row.
  std::vector<std::pair<int32_t, ErrorSite>> texts;
};

}  // namespace scenario
