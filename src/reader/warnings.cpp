#include "reader/warnings.h"

#include <array>

#include "format/scenario_format.h"
#include "model/windows1252.h"
#include "reader/left_over_fields.h"
#include "reader/misplaced_records.h"

namespace scenario {
namespace {

constexpr std::array<std::string_view, 3> kForeignCommentMarks = {"#", "//", ";"};

bool is_heading(const Token& token) { return token.has("[") && token.has("]"); }

bool is_continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// A lead byte of a two-, three- or four-byte UTF-8 sequence and its
// continuation bytes, which in Windows-1252 are unlikely letters in a row.
size_t utf8_sequence_length(std::string_view text, size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3 : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
  if (length == 0 || at + length > text.size()) return 0;
  for (size_t i = 1; i < length; ++i) {
    if (!is_continuation(static_cast<unsigned char>(text[at + i]))) return 0;
  }
  return length;
}

}  // namespace

void warn(Record& record, FieldSite at, std::string_view name, std::string detail) {
  warn_at(record.context, record.reader, at, name, std::move(detail));
}

void warn_file(ReaderContext& context, const FieldReader& reader, std::string_view name, std::string detail) {
  warn_at(context, reader, FieldSite{}, name, std::move(detail));
}

void warn_foreign_comment(Record& record) {
  const std::string& text = record.token.text();
  for (const std::string_view mark : kForeignCommentMarks) {
    if (!text.starts_with(mark) || !record.opens_line) continue;
    warn(record, record.keyword, "foreign-comment",
         "a line beginning with \"" + std::string(mark) +
             "\" is no comment here and is read as a record; a comment holds \"-\"");
    return;
  }
}

void warn_unread_last_field(ReaderContext& context, const FieldReader& reader) {
  const Token token(context.text_buffer);
  const bool blank = token.text().find_first_not_of(" \t\r\n") == std::string::npos;
  if (blank || is_heading(token) || is_comment_field(token.text())) return;
  warn_at(context, reader, reader.site(), "unread-last-field",
          "the last field of the file is never read as a record: \"" + token.text() +
              "\" is skipped; end the file with a heading such as [fine]");
}

void warn_unknown_record(Record& record) {
  const std::string& text = record.token.text();
  if (record.test != nullptr || text.empty() || is_heading(record.token) || !record.opens_line) return;
  if (record.past_comment_limit) return;  // warned as a comment past the limit
  for (const std::string_view mark : kForeignCommentMarks) {
    if (text.starts_with(mark)) return;  // warned as a foreign comment
  }
  if (warn_misplaced(record)) return;
  warn(record, record.keyword, "unknown-record", "no record begins with " + quoted(text) + ": the line is skipped");
}

void warn_moved_to_cell(Record& record, std::string_view what, const Number& position, int64_t cell, int64_t shift) {
  if (position.value % kCellLength == 0) return;
  warn(record, position.site, "moved-to-cell",
       std::string(what) + " at " + std::to_string(position.value) + " m is not on the 50 m cells: it stands as if at " +
           std::to_string((cell - shift) * kCellLength) + " m");
}

void warn_past_route_end(Record& record, std::string_view what, const Number& position) {
  const int32_t length = record.model.entries[kTotalsRow].long2;
  if (position.value <= length) return;
  warn(record, position.site, "past-route-end",
       std::string(what) + " at " + std::to_string(position.value) + " m lies past the route's end at " +
           std::to_string(length) + " m");
}

void warn_placement(Record& record, std::string_view what, const Number& position, int64_t cell) {
  warn_moved_to_cell(record, what, position, cell, 1);
  warn_past_route_end(record, what, position);
}

void warn_late_time(Record& record, FieldSite at, std::string_view what, int64_t seconds) {
  constexpr int64_t kSecondsPerDay = int64_t{24} * kSecondsPerHour;
  if (seconds >= 0 && seconds < kSecondsPerDay) return;
  warn(record, at, "late-time",
       std::string(what) + " " + time_of_day_text(seconds) + " lies outside 00:00:00 to 23:59:59");
}

void warn_utf8_text(Record& record, FieldSite at, std::string_view what, const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (utf8_sequence_length(text, i) == 0) continue;
    warn(record, at, "utf8-text",
         std::string(what) + " " + quoted(text) +
             " holds bytes that read as UTF-8; the source is Windows-1252, so save it in that code page");
    return;
  }
}

void warn_out_of_range(Record& record, FieldSite at, std::string_view what, const SchemaField& field, int64_t value,
                       std::string_view instead) {
  const Limit& passed = value < field.lowest.value ? field.lowest : field.highest;
  warn(record, at, passed.outside.warning,
       std::string(what) + ": " + std::string(field.name) + " is " + std::to_string(value) + ", but " +
           std::to_string(field.lowest.value) + " to " + std::to_string(field.highest.value) +
           " are stored intact: " + std::string(instead));
}

void warn_text_cut(Record& record, FieldSite at, std::string_view what, const std::string& text) {
  const std::optional<LeftOver> rest = first_left_over(record.reader);
  if (!rest || is_comment_field(rest->text)) return;
  warn(record, at, "text-cut",
       "the " + std::string(what) + " " + quoted(text) + " ends at a comma: the rest of the line is not part of it");
}

std::string time_text(int64_t hour, int64_t minute, int64_t second) {
  const auto two_digits = [](int64_t value) { return (value < 10 && value >= 0 ? "0" : "") + std::to_string(value); };
  return two_digits(hour) + ":" + two_digits(minute) + ":" + two_digits(second);
}

std::string time_of_day_text(int64_t seconds) {
  return time_text(seconds / kSecondsPerHour, seconds % kSecondsPerHour / kSecondsPerMinute,
                   seconds % kSecondsPerMinute);
}

}  // namespace scenario
