#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "lsp/editor_text.h"
#include "reader/source_schema.h"

// A source line as a record, read by the reader's own field reader: which
// record it starts and where each of its fields stands. A record whose
// numbers go on past its line is seen as far as its line reaches.

namespace scenario::lsp {

struct LineField {
  size_t start = 0;  // byte columns of the line, 0-based, end exclusive
  size_t end = 0;
  std::string text;  // a text field's text (Windows-1252), as read
};

struct RecordLine {
  const SchemaRecord* record = nullptr;  // null: the line starts no record
  LineField keyword;
  std::vector<LineField> fields;  // the record's fields found on the line, in order
};

RecordLine record_line(std::string_view line, SourceFile source);

// The source a file's name says it is.
SourceFile source_of(bool line_source);

// Where a line of a source stands: the heading above it, and the section
// whose records are read there; nothing before "[generale]".
struct SectionAt {
  std::string heading;  // the nearest heading above or at the line, "" for none
  bool read = false;    // records are read here ("[generale]" seen)
  Section section = Section::kGeneral;
};

SectionAt section_at(const EditorText& text, int line, SourceFile source);

// A heading line: a bracketed word, blanks around it allowed.
bool is_heading(std::string_view line);
std::string heading_of(std::string_view line);

inline constexpr std::string_view kGeneralHeading = "[generale]";

}  // namespace scenario::lsp
