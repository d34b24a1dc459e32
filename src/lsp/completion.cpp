#include "lsp/completion.h"

#include <algorithm>
#include <string>
#include <vector>

#include "lsp/record_lines.h"
#include "model/windows1252.h"

namespace scenario::lsp {
namespace {

using nlohmann::json;

enum ItemKind { kField = 5, kKeyword = 14, kSnippet = 15, kModule = 9 };
constexpr int kSnippetFormat = 2;
constexpr int kPlainFormat = 1;

// A snippet's placeholders for fields from the first'th on: ${1:position}, ...
std::string placeholders(const SchemaRecord& record, size_t first) {
  std::string text;
  for (size_t i = first; i < record.fields.size(); ++i) {
    text += (i == first ? "" : ", ") + std::string("${") + std::to_string(i - first + 1) + ":" +
            std::string(record.fields[i].name) + "}";
  }
  return text;
}

// The keyword as the built-in sources write it: the example's first field
// ("curvad4", "progressiva chilometrica uno").
std::string_view written_keyword(const SchemaRecord& record) {
  return record.example.substr(0, record.example.find(','));
}

json keyword_item(const SchemaRecord& record, bool at_home) {
  const std::string keyword(written_keyword(record));
  return {{"label", std::string(record.keyword)},
          {"kind", kKeyword},
          {"detail", std::string(record.name)},
          {"documentation", std::string(record.meaning)},
          // Records of the section's own heading first.
          {"sortText", std::string(at_home ? "0" : "1") + std::string(record.keyword)},
          {"filterText", keyword},
          {"insertText", keyword + ", " + placeholders(record, 0)},
          {"insertTextFormat", kSnippetFormat}};
}

json heading_item(std::string_view heading) {
  return {{"label", std::string(heading)},
          {"kind", kModule},
          {"detail", "section heading"},
          {"sortText", "2" + std::string(heading)},
          {"insertText", std::string(heading)},
          {"insertTextFormat", kPlainFormat}};
}

std::vector<std::string_view> headings_of(SourceFile source) {
  std::vector<std::string_view> headings = {kGeneralHeading};
  for (const SchemaRecord& record : source_schema()) {
    if (record.source != source) continue;
    if (std::find(headings.begin(), headings.end(), record.heading) == headings.end()) {
      headings.push_back(record.heading);
    }
  }
  return headings;
}

json first_field_items(const SectionAt& section, SourceFile source) {
  json items = json::array();
  for (const SchemaRecord& record : source_schema()) {
    if (section.read && record.source == source && record.section == section.section) {
      items.push_back(keyword_item(record, record.heading == section.heading));
    }
  }
  for (const std::string_view heading : headings_of(source)) items.push_back(heading_item(heading));
  return items;
}

json remaining_fields_item(const RecordLine& found, std::string_view before) {
  const SchemaRecord& record = *found.record;
  size_t written = 0;
  while (written < found.fields.size() && found.fields[written].end < before.size()) ++written;
  if (written >= record.fields.size()) return json::array();
  std::string label;
  for (size_t i = written; i < record.fields.size(); ++i) {
    label += (i == written ? "" : ", ") + std::string(record.fields[i].name);
  }
  size_t last = before.size();
  while (last > 0 && (before[last - 1] == ' ' || before[last - 1] == '\t')) --last;
  const bool after_comma = last > 0 && before[last - 1] == ',';
  return json::array({{{"label", label},
                       {"kind", kSnippet},
                       {"detail", "the fields still to write of a " + std::string(record.name)},
                       {"insertText", (after_comma ? "" : ", ") + placeholders(record, written)},
                       {"insertTextFormat", kSnippetFormat}}});
}

}  // namespace

nlohmann::json completion_items(const EditorText& text, Position at, SourceFile source) {
  const std::string_view line = text.line(at.line);
  const std::string_view before = line.substr(0, text.byte_column(at));
  const SectionAt section = section_at(text, at.line, source);
  if (before.find(',') == std::string_view::npos) return first_field_items(section, source);
  const RecordLine found = record_line(line, source);
  if (found.record == nullptr || !section.read) return json::array();
  return remaining_fields_item(found, before);
}

}  // namespace scenario::lsp
