#include "lsp/hover.h"

#include <charconv>

#include "lsp/position_facts.h"
#include "lsp/record_lines.h"
#include "tool/schema_text.h"

namespace scenario::lsp {
namespace {

bool covers(const LineField& field, size_t column) { return column >= field.start && column <= field.end; }

// A field that places something on the route, as against a length or a value.
bool is_position(const SchemaField& field) {
  return field.unit == "m" && (field.grid_end == GridEnd::kTrackMargin || field.grid_end == GridEnd::kStationMargin ||
                               field.grid_end == GridEnd::kTunnelEnd);
}

std::optional<int64_t> number_in(std::string_view line, const LineField& field) {
  int64_t value = 0;
  const char* first = line.data() + field.start;
  const char* last = line.data() + field.end;
  const auto [past, error] = std::from_chars(first, last, value);
  if (error != std::errc() || past != last) return std::nullopt;
  return value;
}

std::string record_heading(const SchemaRecord& record) {
  return "*" + std::string(record.name) + "* record (`" + std::string(record.keyword) + "`)";
}

std::string keyword_hover(const SchemaRecord& record) {
  std::string text = "**" + std::string(record.name) + "**: " + std::string(record.meaning) + "\n\n";
  text += "The keyword field must contain " + tool::record_forms_markdown(record) + ".";
  if (!record.keyword_note.empty()) text += " " + std::string(record.keyword_note) + ".";
  text += "\n\nFields: ";
  for (size_t i = 0; i < record.fields.size(); ++i) text += (i == 0 ? "" : ", ") + std::string(record.fields[i].name);
  return text + "\n\nExample: `" + std::string(record.example) + "`";
}

std::string field_hover(const SchemaRecord& record, size_t index) {
  const SchemaField& field = record.fields[index];
  std::string text = "**" + std::string(field.name) + "**";
  if (!field.unit.empty()) text += " (" + std::string(field.unit) + ")";
  text += ", field " + std::to_string(index + 1) + " of a " + record_heading(record) + "\n\n";
  text += "Range: " + tool::field_range_markdown(field);
  const std::string outside = tool::field_outside_markdown(field);
  if (!outside.empty()) text += "; outside it: " + outside;
  text += "\n\n" + std::string(field.meaning) + "\n\nStored: " + std::string(field.stored);
  return text;
}

}  // namespace

std::optional<std::string> hover_text(const EditorText& text, Position at, SourceFile source,
                                      const RouteModel* scenario) {
  const std::string_view line = text.line(at.line);
  const size_t column = text.byte_column(at);
  const RecordLine found = record_line(line, source);
  if (found.record == nullptr || !section_at(text, at.line, source).read) return std::nullopt;
  if (covers(found.keyword, column)) return keyword_hover(*found.record);
  for (size_t i = 0; i < found.fields.size(); ++i) {
    if (!covers(found.fields[i], column)) continue;
    std::string hover = field_hover(*found.record, i);
    const std::optional<int64_t> value = number_in(line, found.fields[i]);
    if (scenario != nullptr && is_position(found.record->fields[i]) && value) {
      hover += "\n\n---\n\n" + position_facts(*scenario, *value);
    }
    return hover;
  }
  return std::nullopt;
}

}  // namespace scenario::lsp
