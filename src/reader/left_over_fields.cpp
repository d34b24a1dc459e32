#include "reader/left_over_fields.h"

#include <algorithm>
#include <string>
#include <vector>

#include "model/numeric.h"
#include "model/windows1252.h"
#include "reader/warnings.h"

namespace scenario {
namespace {

constexpr char kComma = ',';
constexpr char kMinus = '-';
// A thousands separator is one blank before a group of three digits, and the
// digits before the first separator are one to three, the first not 0.
constexpr size_t kGroupDigits = 3;
constexpr size_t kMostLeadingDigits = 3;

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_line_end(char c) { return c == '\r' || c == '\n'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool ends_number(std::string_view text, size_t at) {
  return at >= text.size() || is_blank(text[at]) || text[at] == kComma || is_line_end(text[at]);
}

bool is_number_field(std::string_view field) {
  if (!field.empty() && field.front() == kMinus) field.remove_prefix(1);
  return !field.empty() && std::all_of(field.begin(), field.end(), is_digit);
}

bool is_heading_field(std::string_view field) {
  return field.find('[') != std::string_view::npos && field.find(']') != std::string_view::npos;
}

// A comment, a heading or the keyword of a record read next changes nothing
// the record read.
bool is_harmless(const Record& record, std::string_view field) {
  if (is_number_field(field)) return false;
  if (is_comment_field(field) || is_heading_field(field)) return true;
  const Token token(field);
  return std::any_of(record.tests.begin(), record.tests.end(),
                     [&token](const KeywordTest& test) { return starts(token, test); });
}

size_t digits_end(std::string_view text, size_t at) {
  while (at < text.size() && is_digit(text[at])) ++at;
  return at;
}

// Whether the digits at at begin a number: after a blank, a comma or the
// start of a line, a minus sign between.
bool begins_number(std::string_view text, size_t at) {
  if (at > 0 && text[at - 1] == kMinus) --at;
  return at == 0 || is_blank(text[at - 1]) || text[at - 1] == kComma || is_line_end(text[at - 1]);
}

// The place of offset in text, counting the lines from a site before it.
FieldSite site_at(std::string_view text, FieldSite from, size_t offset) {
  size_t line_start = FieldReader::line_start_of(from);
  int line = from.line;
  for (size_t i = from.offset; i < offset; ++i) {
    const bool crlf = text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
    if (!is_line_end(text[i]) || crlf) continue;
    ++line;
    line_start = i + 1;
  }
  return {line, narrow<int>(static_cast<int64_t>(offset - line_start) + 1), offset};
}

// A number written with thousands separators, as the reading takes it apart.
struct DigitGroup {
  size_t offset = 0;                // of its first byte
  std::string written;              // "14 000"
  std::vector<std::string> parts;   // "14", "000": what the reading takes as numbers
  bool leading_zero = false;        // a group begins with 0, as no number of its own would
};

// Whether a group follows the digits that end at end: one blank, then three
// digits that end the number.
bool group_follows(std::string_view text, size_t end) {
  return end + 1 + kGroupDigits <= text.size() && text[end] == ' ' &&
         digits_end(text, end + 1) == end + 1 + kGroupDigits && ends_number(text, end + 1 + kGroupDigits);
}

// The groups after the digits that end at end.
void add_groups(std::string_view text, size_t end, DigitGroup& group) {
  while (group_follows(text, end)) {
    const std::string_view digits = text.substr(end + 1, kGroupDigits);
    group.parts.emplace_back(digits);
    group.leading_zero = group.leading_zero || digits.front() == '0';
    end += 1 + kGroupDigits;
  }
  group.written = std::string(text.substr(group.offset, end - group.offset));
}

// The first number from begin to end followed by thousands groups.
std::optional<DigitGroup> find_digit_group(std::string_view text, size_t begin, size_t end) {
  for (size_t at = begin; at < end && at < text.size();) {
    if (!is_digit(text[at])) {
      ++at;
      continue;
    }
    const size_t lead_end = digits_end(text, at);
    if (begins_number(text, at) && lead_end - at <= kMostLeadingDigits && text[at] != '0' &&
        group_follows(text, lead_end)) {
      DigitGroup group;
      group.offset = at > 0 && text[at - 1] == kMinus ? at - 1 : at;
      group.parts.emplace_back(text.substr(group.offset, lead_end - group.offset));
      add_groups(text, lead_end, group);
      return group;
    }
    at = lead_end;
  }
  return std::nullopt;
}

// The record's numbers begin after its keyword field.
size_t fields_start(const Record& record) {
  const std::string_view text = record.reader.text();
  return field_end(text, record.keyword.offset);
}

std::string listed(const std::vector<std::string>& parts) {
  std::string list;
  for (size_t i = 0; i < parts.size(); ++i) {
    list += (i == 0 ? "" : i + 1 == parts.size() ? " and " : ", ") + parts[i];
  }
  return list;
}

void warn_digit_group(Record& record, const DigitGroup& group) {
  std::string meant;
  for (const std::string& part : group.parts) meant += part;
  const FieldSite at = site_at(record.reader.text(), record.keyword, group.offset);
  warn(record, at, "digit-group",
       quoted(group.written) + " reads as " + std::to_string(group.parts.size()) + " numbers, " + listed(group.parts) +
           ": a number takes no thousands separator; did you mean " + meant + "?");
}

// "-6,5": where the number before the field left over begins, when only a
// comma stands between them.
std::optional<size_t> decimal_comma(std::string_view text, const LeftOver& left) {
  const size_t comma = left.site.offset - 1;
  if (!is_number_field(left.text) || left.text.front() == kMinus || comma == 0 || text[comma] != kComma ||
      !is_digit(text[comma - 1])) {
    return std::nullopt;
  }
  size_t start = comma;
  while (start > 0 && is_digit(text[start - 1])) --start;
  if (start > 0 && text[start - 1] == kMinus) --start;
  return start;
}

void warn_extra_fields(Record& record, const LeftOver& left) {
  const Layout& layout = record.test->layout;
  const bool one = layout.fields == 1;
  std::string detail = "the " + std::string(layout.name) + " record takes " + std::to_string(layout.fields) +
                       (one ? " number; " : " numbers; ") + quoted(left.text) + (one ? " after it" : " after them") +
                       " is ignored";
  const std::string_view text = record.reader.text();
  if (const std::optional<size_t> start = decimal_comma(text, left)) {
    const size_t comma = left.site.offset - 1;
    detail += ": a number has no decimal comma, and " +
              quoted(text.substr(*start, left.site.offset + left.text.size() - *start)) + " reads as " +
              std::string(text.substr(*start, comma - *start));
  }
  warn(record, left.site, "extra-fields", std::move(detail));
}

}  // namespace

std::optional<LeftOver> first_left_over(const FieldReader& reader) {
  if (reader.at_line_start() || reader.at_end()) return std::nullopt;
  const std::string_view text = reader.text();
  const FieldSite here = reader.here();
  size_t at = here.offset;
  for (;;) {
    while (at < text.size() && is_blank(text[at])) ++at;
    if (at >= text.size() || is_line_end(text[at])) return std::nullopt;
    if (text[at] != kComma) break;
    ++at;
  }
  const size_t start = at;
  at = reader.field_end_from(start);
  while (at > start && is_blank(text[at - 1])) --at;
  const int column = here.column + narrow<int>(static_cast<int64_t>(start - here.offset));
  return LeftOver{text.substr(start, at - start), {here.line, column, start}};
}

bool is_comment_field(std::string_view field) {
  return field.find(kMinus) != std::string_view::npos && !is_number_field(field);
}

void warn_left_over(Record& record) {
  if (record.test == nullptr || record.test->layout.ends_in_text) return;
  const FieldReader& reader = record.reader;
  // A curve read without the plan trace leaves its numbers unread.
  if (reader.fields_read() - record.fields_before < record.test->layout.fields) return;
  std::optional<LeftOver> left = first_left_over(reader);
  if (left && is_harmless(record, left->text)) left.reset();
  const size_t end = left ? left->site.offset + left->text.size() : reader.here().offset;
  const std::optional<DigitGroup> group = find_digit_group(reader.text(), fields_start(record), end);
  if (group && (left || group->leading_zero)) {
    warn_digit_group(record, *group);
  } else if (left) {
    warn_extra_fields(record, *left);
  }
}

}  // namespace scenario
