#include "lsp/outline.h"

#include <string>
#include <vector>

#include "lsp/record_lines.h"
#include "model/windows1252.h"

namespace scenario::lsp {
namespace {

using nlohmann::json;

enum SymbolKind { kNamespace = 3, kField = 8, kEvent = 24, kStruct = 23 };

// A section: its heading line and its last line.
struct SectionLines {
  int heading = 0;
  int last = 0;
};

std::vector<SectionLines> sections_of(const EditorText& text) {
  std::vector<SectionLines> sections;
  for (int line = 0; line < text.line_count(); ++line) {
    if (!is_heading(text.line(line))) continue;
    if (!sections.empty()) sections.back().last = line - 1;
    sections.push_back({line, line});
  }
  // A source ends with a line end: the empty line after it belongs to no section.
  if (!sections.empty()) sections.back().last = std::max(sections.back().heading, text.line_count() - 1);
  while (!sections.empty() && sections.back().last > sections.back().heading &&
         text.line(sections.back().last).empty()) {
    --sections.back().last;
  }
  return sections;
}

json range_of(const EditorText& text, int first, size_t first_column, int last, size_t last_column) {
  const Position start = text.position(first, first_column);
  const Position end = text.position(last, last_column);
  return {{"start", {{"line", start.line}, {"character", start.character}}},
          {"end", {{"line", end.line}, {"character", end.character}}}};
}

json symbol(std::string name, std::string detail, int kind, json range, json selection) {
  return {{"name", std::move(name)},
          {"detail", std::move(detail)},
          {"kind", kind},
          {"range", std::move(range)},
          {"selectionRange", std::move(selection)}};
}

std::string field_text(std::string_view line, const RecordLine& found, size_t index) {
  if (index >= found.fields.size()) return "?";
  const LineField& field = found.fields[index];
  return windows1252_to_utf8(field.text.empty() ? line.substr(field.start, field.end - field.start) : field.text);
}

// The symbol a record line gives, or null for records the outline leaves out.
json record_symbol(const EditorText& text, int line, SourceFile source) {
  const std::string_view bytes = text.line(line);
  const RecordLine found = record_line(bytes, source);
  if (found.record == nullptr || found.fields.empty()) return nullptr;
  const std::string_view keyword = found.record->keyword;
  const json whole = range_of(text, line, 0, line, bytes.size());
  const json selection = range_of(text, line, found.keyword.start, line, found.keyword.end);
  const std::string position = field_text(bytes, found, 0);
  if (keyword == "stazione" && found.fields.size() == found.record->fields.size()) {
    return symbol(field_text(bytes, found, found.fields.size() - 1), "station at " + position + " m", kStruct, whole,
                  selection);
  }
  if (keyword == "segnale") return symbol("signal at " + position + " m", "", kEvent, whole, selection);
  if (keyword == "montagna" && found.fields.size() >= 2) {
    return symbol("tunnel " + position + " to " + field_text(bytes, found, 1) + " m", "", kField, whole, selection);
  }
  return nullptr;
}

}  // namespace

nlohmann::json document_symbols(const EditorText& text, SourceFile source) {
  json symbols = json::array();
  for (const SectionLines& section : sections_of(text)) {
    json children = json::array();
    for (int line = section.heading + 1; line <= section.last; ++line) {
      json child = record_symbol(text, line, source);
      if (!child.is_null()) children.push_back(std::move(child));
    }
    const std::string heading = windows1252_to_utf8(text.line(section.heading));
    json item = symbol(heading, "", kNamespace,
                       range_of(text, section.heading, 0, section.last, text.line(section.last).size()),
                       range_of(text, section.heading, 0, section.heading, text.line(section.heading).size()));
    item["children"] = std::move(children);
    symbols.push_back(std::move(item));
  }
  return symbols;
}

nlohmann::json folding_ranges(const EditorText& text) {
  json ranges = json::array();
  for (const SectionLines& section : sections_of(text)) {
    if (section.last > section.heading) ranges.push_back({{"startLine", section.heading}, {"endLine", section.last}, {"kind", "region"}});
  }
  return ranges;
}

}  // namespace scenario::lsp
