#include "lsp/record_lines.h"

#include "lsp/field_extent.h"
#include "model/run_failure.h"
#include "model/windows1252.h"
#include "reader/field_reader.h"

namespace scenario::lsp {
namespace {

// The reader tests the records of a source in schema order; the first that
// the token starts is the one it reads.
const SchemaRecord* record_started(std::string_view token, SourceFile source) {
  for (const SchemaRecord& record : source_schema()) {
    if (record.source == source && starts_record(record, token)) return &record;
  }
  return nullptr;
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

RecordLine record_line(std::string_view line, SourceFile source) {
  RecordLine found;
  FieldReader reader(line);
  try {
    const std::string token(reader.read_text());
    const size_t start = static_cast<size_t>(reader.site().column - 1);
    found.keyword = {start, field_end(line, start), token};
    found.record = record_started(token, source);
    if (found.record == nullptr) return found;
    for (const SchemaField& field : found.record->fields) {
      if (reader.at_end()) break;
      std::string text;
      if (field.width == Width::kText) {
        text = reader.read_text();
      } else {
        reader.read_number();
      }
      const size_t at = static_cast<size_t>(reader.site().column - 1);
      found.fields.push_back({at, field_end(line, at), std::move(text)});
    }
  } catch (const RunFailure&) {
    // A field that is no number ends what the line shows of its record.
  }
  return found;
}

SourceFile source_of(bool line_source) { return line_source ? SourceFile::kLine : SourceFile::kTrain; }

bool is_heading(std::string_view line) {
  const std::string_view text = trimmed(line);
  return text.size() >= 2 && text.front() == '[' && text.back() == ']';
}

std::string heading_of(std::string_view line) { return ascii_lower(trimmed(line)); }

SectionAt section_at(const EditorText& text, int line, SourceFile source) {
  SectionAt at;
  for (int i = line; i >= 0; --i) {
    if (!is_heading(text.line(i))) continue;
    const std::string heading = heading_of(text.line(i));
    if (at.heading.empty()) at.heading = heading;
    if (heading != kGeneralHeading) continue;
    at.read = true;
    at.section = source == SourceFile::kTrain ? Section::kTrain
                 : at.heading == kGeneralHeading ? Section::kGeneral
                                                 : Section::kTrack;
    break;
  }
  return at;
}

}  // namespace scenario::lsp
