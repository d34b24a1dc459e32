#include "tool/schema_text.h"

#include <stdexcept>

namespace scenario::tool {
namespace {

constexpr std::string_view kMarkerEnd = " -->";
constexpr std::string_view kRecordsMarker = "records ";
constexpr std::string_view kFieldsMarker = "fields ";
constexpr std::string_view kKeywordSeparator = ", ";

// Markdown wraps a word in backquotes; plain text in double quotes.
enum class Style { kMarkdown, kPlain };

std::string quoted_word(std::string_view word, Style style) {
  const char* mark = style == Style::kMarkdown ? "`" : "\"";
  return mark + std::string(word) + mark;
}

// Negative numbers with a minus sign, as the handbook writes them.
std::string number_text(int64_t value) {
  return value < 0 ? "−" + std::to_string(-value) : std::to_string(value);
}

std::string_view section_words(Section section) {
  switch (section) {
    case Section::kGeneral:
      return "line source, general section ([generale] up to the next heading)";
    case Section::kTrack:
      return "line source, after the general section";
    case Section::kTrain:
      return "train source, after [generale]";
  }
  return {};
}

// "`progressiva` and `uno`, `due` or `tre` (lower case)": forms that share
// their first word name it once.
std::string forms_text(const SchemaRecord& record, Style style) {
  const KeywordForm& first = record.forms.front();
  std::string text = quoted_word(first.word, style);
  for (size_t i = 0; i < record.forms.size(); ++i) {
    const KeywordForm& form = record.forms[i];
    if (form.also.empty()) continue;
    text += i == 0 ? " and " : i + 1 == record.forms.size() ? " or " : ", ";
    text += quoted_word(form.also, style);
  }
  text += first.letter_case == LetterCase::kAny ? " (any case)" : " (lower case)";
  if (!record.keyword_note.empty()) text += "; " + std::string(record.keyword_note);
  return text;
}

// A meaning written for a table cell, as a sentence of its own.
std::string sentence(std::string_view text) {
  std::string line(text);
  if (!line.empty() && line[0] >= 'a' && line[0] <= 'z') line[0] = static_cast<char>(line[0] - 'a' + 'A');
  return line + ".";
}

std::string_view grid_end_text(GridEnd end) {
  switch (end) {
    case GridEnd::kNone:
      return {};
    case GridEnd::kTrackMargin:
      return "p + 100 ≤ G";
    case GridEnd::kStationMargin:
      return "P + 800 ≤ G";
    case GridEnd::kCurveEnd:
      return "start + length ≤ L + 6998";
    case GridEnd::kTunnelEnd:
      return "its cells on the grid";
    case GridEnd::kSlowdownEnd:
      return "the end cell on the grid";
  }
  return {};
}

// The ends of 32-bit numbers are where the reading stops, not ends of a range.
bool open_low(const SchemaField& field) { return field.lowest.value == kInt32Lowest; }
bool open_high(const SchemaField& field) {
  return field.grid_end == GridEnd::kNone && field.highest.value == kInt32Highest;
}

std::string range_text(const SchemaField& field) {
  if (field.width == Width::kText) return "up to " + number_text(field.highest.value) + " bytes";
  std::string text;
  const std::string low = open_low(field) ? "" : number_text(field.lowest.value);
  if (field.grid_end != GridEnd::kNone) {
    text = (low.empty() ? "" : "from " + low + "; ") + std::string(grid_end_text(field.grid_end));
  } else if (open_high(field)) {
    text = low.empty() ? "any 32-bit number" : low + " or more";
  } else {
    text = (low.empty() ? "up to " : low + " to ") + number_text(field.highest.value);
  }
  if (field.multiple_of != 0) text += ", a multiple of " + std::to_string(field.multiple_of);
  return text;
}

std::string outside_text(const Outside& outside, Style style) {
  if (outside.error != 0) return "error " + std::to_string(outside.error);
  if (!outside.warning.empty()) return "warning " + quoted_word(outside.warning, style);
  return "stored as read";
}

std::string_view width_name(Width width) {
  return width == Width::kInt16 ? "16 bits" : width == Width::kUint8 ? "8 bits" : "32 bits";
}

// Whether values past the range are still read: then the width stops them.
bool width_matters(const SchemaField& field) {
  if (field.width != Width::kInt16) return false;
  return field.lowest.value > kInt16Lowest || field.highest.value < kInt16Highest;
}

std::string outside_column(const SchemaField& field, Style style) {
  if (field.width == Width::kText) return "";
  std::vector<std::string> parts;
  const bool has_low = !open_low(field);
  const bool has_high = !open_high(field);
  const Outside high = field.grid_end != GridEnd::kNone ? refused_with(kPositionError) : field.highest.outside;
  const std::string below = outside_text(field.lowest.outside, style);
  const std::string above = outside_text(high, style);
  if (has_low && has_high && below == above) {
    parts.push_back(below);
  } else {
    if (has_low) parts.push_back("below, " + below);
    if (has_high) parts.push_back("above, " + above);
  }
  if (field.multiple_of != 0) {
    parts.push_back("not a multiple of " + std::to_string(field.multiple_of) + ", error " +
                    std::to_string(field.off_multiple_error));
  }
  if (width_matters(field)) parts.push_back("beyond " + std::string(width_name(field.width)) + ", error 25");
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : "; ") + part;
  return text;
}

std::string fields_summary(const SchemaRecord& record) {
  std::string text;
  for (const SchemaField& field : record.fields) {
    text += (text.empty() ? "" : ", ") + std::string(field.name);
    if (!field.unit.empty()) text += " (" + std::string(field.unit) + ")";
  }
  return text;
}

std::string row(std::initializer_list<std::string> cells) {
  std::string text = "|";
  for (const std::string& cell : cells) text += " " + cell + " |";
  return text + "\n";
}

std::string header(std::initializer_list<std::string> cells) {
  std::string rule = "|";
  for (size_t i = 0; i < cells.size(); ++i) rule += "---|";
  return row(cells) + rule + "\n";
}

std::vector<std::string_view> split(std::string_view text, std::string_view separator) {
  std::vector<std::string_view> parts;
  for (size_t at = 0;;) {
    const size_t next = text.find(separator, at);
    parts.push_back(text.substr(at, next == std::string_view::npos ? std::string_view::npos : next - at));
    if (next == std::string_view::npos) return parts;
    at = next + separator.size();
  }
}

std::string table_for(std::string_view request) {
  if (request.starts_with(kRecordsMarker)) {
    const std::string_view name = request.substr(kRecordsMarker.size());
    if (name == "general") return section_table_markdown(Section::kGeneral);
    if (name == "track") return section_table_markdown(Section::kTrack);
    if (name == "train") return section_table_markdown(Section::kTrain);
  } else if (request.starts_with(kFieldsMarker)) {
    std::vector<const SchemaRecord*> records;
    for (const std::string_view keyword : split(request.substr(kFieldsMarker.size()), kKeywordSeparator)) {
      const SchemaRecord* record = schema_record(keyword);
      if (record == nullptr) throw std::invalid_argument("the schema has no record " + std::string(keyword));
      records.push_back(record);
    }
    return field_table_markdown(records);
  }
  throw std::invalid_argument("a schema marker asks for " + std::string(request) + ", which is no table");
}

// The field of a record as explain prints it: a heading line, then its
// meaning and how it is stored.
std::string field_explanation(size_t number, const SchemaField& field) {
  std::string text = "  " + std::to_string(number) + ". " + std::string(field.name);
  if (!field.unit.empty()) text += " (" + std::string(field.unit) + ")";
  text += ": " + range_text(field);
  const std::string outside = outside_column(field, Style::kPlain);
  if (!outside.empty()) text += "; outside: " + outside;
  text += "\n     " + sentence(field.meaning) + "\n";
  text += "     Stored: " + std::string(field.stored) + ".\n";
  return text;
}

}  // namespace

std::string section_table_markdown(Section section) {
  std::string table = header({"record", "the field must contain", "fields", "what it is"});
  for (const SchemaRecord& record : source_schema()) {
    if (record.section != section) continue;
    table += row({std::string(record.name), forms_text(record, Style::kMarkdown), fields_summary(record),
                  std::string(record.meaning)});
  }
  return table;
}

std::string field_table_markdown(std::span<const SchemaRecord* const> records) {
  const bool named = records.size() > 1;
  std::string table = named ? header({"record", "#", "field", "unit", "range", "outside the range", "meaning", "stored as"})
                            : header({"#", "field", "unit", "range", "outside the range", "meaning", "stored as"});
  for (const SchemaRecord* record : records) {
    for (size_t i = 0; i < record->fields.size(); ++i) {
      const SchemaField& field = record->fields[i];
      const std::string cells[] = {std::to_string(i + 1),           std::string(field.name),
                                   std::string(field.unit),         range_text(field),
                                   outside_column(field, Style::kMarkdown), std::string(field.meaning),
                                   std::string(field.stored)};
      const std::string name = i == 0 ? quoted_word(record->keyword, Style::kMarkdown) : "";
      table += named ? row({name, cells[0], cells[1], cells[2], cells[3], cells[4], cells[5], cells[6]})
                     : row({cells[0], cells[1], cells[2], cells[3], cells[4], cells[5], cells[6]});
    }
  }
  return table;
}

std::string with_schema_tables(std::string_view document) {
  std::string result;
  size_t at = 0;
  bool in_table = false;  // a table after a marker, being skipped
  while (at < document.size()) {
    const size_t end = document.find('\n', at);
    const size_t next = end == std::string_view::npos ? document.size() : end + 1;
    const std::string_view line = document.substr(at, next - at);
    at = next;
    if (in_table && line.starts_with("|")) continue;
    in_table = false;
    result += line;
    if (!line.starts_with(kSchemaMarker)) continue;
    const size_t close = line.find(kMarkerEnd);
    if (close == std::string_view::npos) throw std::invalid_argument("a schema marker is not closed");
    result += table_for(line.substr(kSchemaMarker.size(), close - kSchemaMarker.size()));
    in_table = true;
  }
  return result;
}

std::vector<const SchemaRecord*> records_named(std::string_view topic) {
  if (const SchemaRecord* record = schema_record(topic)) return {record};
  std::vector<const SchemaRecord*> records;
  for (const SchemaRecord& record : source_schema()) {
    if (starts_record(record, topic)) records.push_back(&record);
  }
  return records;
}

std::string record_explanation(const SchemaRecord& record) {
  std::string text = std::string(record.keyword) + ": " + std::string(record.name) + ", a record of the " +
                     std::string(section_words(record.section)) + "\n";
  text += sentence(record.meaning) + "\n";
  text += "Keyword: the field must contain " + forms_text(record, Style::kPlain) + "\n";
  text += "Example: " + std::string(record.example) + "\n";
  text += "Fields, in order:\n";
  for (size_t i = 0; i < record.fields.size(); ++i) text += field_explanation(i + 1, record.fields[i]);
  return text;
}

std::string record_forms_markdown(const SchemaRecord& record) { return forms_text(record, Style::kMarkdown); }

std::string field_range_markdown(const SchemaField& field) { return range_text(field); }

std::string field_outside_markdown(const SchemaField& field) { return outside_column(field, Style::kMarkdown); }

std::string schema_keywords() {
  std::string text;
  for (const SchemaRecord& record : source_schema()) text += (text.empty() ? "" : ", ") + std::string(record.keyword);
  return text;
}

}  // namespace scenario::tool
