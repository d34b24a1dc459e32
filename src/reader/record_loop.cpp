#include "reader/record_loop.h"

#include <utility>

#include "model/numeric.h"
#include "model/windows1252.h"
#include "reader/error_site.h"
#include "reader/warnings.h"

namespace scenario {
namespace {

constexpr std::string_view kGeneralHeading = "[generale]";
constexpr char kCommentMark = '-';
// A record needs 100 m of grid after its position.
constexpr int64_t kPositionMargin = 100;

bool is_digit(char c) { return c >= '0' && c <= '9'; }

bool is_comment(const std::string& token) { return token.find(kCommentMark) != std::string::npos; }

// Reads the token of the next record, dropping comment tokens; false once
// the records end.
bool next_token(RouteModel& model, FieldReader& reader, CommentRule comments) {
  if (reader.at_end()) return false;
  read_token(model, reader);
  if (reader.at_end()) return false;
  for (int i = 0; i < comments.limit && is_comment(model.text_buffer); ++i) {
    read_token(model, reader);
    if (comments.source_may_end && reader.at_end()) return false;
  }
  return true;
}

bool holds(const Token& token, std::string_view word, KeywordTest::Case letter_case) {
  return letter_case == KeywordTest::kExact ? token.has(word) : token.has_any_case(word);
}

// The two sources word it differently; both texts are kept as they are.
std::string beyond_grid(const Record& record, std::string_view what, int32_t position) {
  const int64_t reach = last_position(record.model, kPositionMargin);
  const std::string where = record.source == Source::kLine
                                ? "route: records stand up to " + std::to_string(reach) + " m"
                                : "grid: positions reach " + std::to_string(reach) + " m at most";
  return std::string(what) + " at " + std::to_string(position) + " m lies beyond the " + where + " (last cell " +
         std::to_string(record.model.last_cell) + ")";
}

// A field missing from a record makes the reader take the first field of a
// later line, a keyword or a heading, for it; or read past the end. The
// record is at fault, where its missing field would have stood.
bool cut_short(const Record& record) {
  const FieldReader& reader = record.reader;
  if (record.test == nullptr || reader.fields_read() - record.fields_before >= record.test->layout.fields) {
    return false;
  }
  if (reader.at_end()) return true;
  const FieldSite field = reader.site();
  const std::string_view line = reader.field_line_text();
  const size_t first = line.find_first_not_of(" \t");
  const bool starts_a_record = first != std::string_view::npos && !is_digit(line[first]) && line[first] != '-';
  return field.line > record.keyword.line && static_cast<size_t>(field.column) == first + 1 && starts_a_record;
}

[[noreturn]] void throw_cut_short(const Record& record) {
  const FieldReader& reader = record.reader;
  const Layout& layout = record.test->layout;
  const std::string_view line = reader.line_text(record.keyword.line);
  const size_t end = line.find_last_not_of(" \t,") + 1;
  const std::string after = reader.at_end() ? "the file ends after it"
                                            : "line " + std::to_string(reader.site().line) + " begins the next record";
  throw RecordFailure(
      {record.keyword.line, narrow<int>(static_cast<int64_t>(end) + 1)},
      "the " + std::string(layout.name) + " record on line " + std::to_string(record.keyword.line) + " has " +
          std::to_string(reader.fields_read() - record.fields_before) + " of its " + std::to_string(layout.fields) +
          " " + std::string(layout.unit) + "; " + after);
}

// The two places of cell 1 that the compiler stamps.
std::pair<int16_t, int16_t> reserved_places(const RouteModel& model) {
  if (model.cells.size() <= static_cast<size_t>(kReservedCell)) return {};
  const Cell& cell = model.cells[kReservedCell];
  return {cell.p1, cell.p2};
}

Flow read_one(Record& record, Flow (*read_record)(Record&)) {
  const auto reserved = reserved_places(record.model);
  try {
    const Flow flow = read_record(record);
    // Should the compiler find its places taken, it names the record that took them.
    if (reserved_places(record.model) != reserved) {
      record.model.notes.reserved_cell = site_of(record.reader, record.keyword);
    }
    return flow;
  } catch (const RunFailure&) {
    if (cut_short(record)) throw_cut_short(record);
    throw;
  }
}

// After a refused record a recovering reading goes on with the next record:
// on the line where a record cut short found the next one, else on the line
// after the refused record's fields.
Flow resume(FieldReader& reader, int keyword_line, int restart) {
  if (restart > 0) {
    reader.restart_at_line(restart);
  } else if (!reader.at_line_start() || reader.line() <= keyword_line) {
    reader.skip_rest_of_line();
  }
  return Flow::kNext;
}

// A failure met while recovering, noted where the trap would point.
void note_failure(RouteModel& model, const FieldReader& reader, const std::exception& failure) {
  const auto* record_failure = dynamic_cast<const RecordFailure*>(&failure);
  refuse_at(model, reader, record_failure != nullptr ? record_failure->site : reader.site(), kRunFailure,
            failure.what());
  note_recorded_error(model);
}

// A recovering reading notes the error of a refused record and reads on, so
// that independent errors are all found; each record starts with no error.
Flow read_recovering(Record& record, Flow (*read_record)(Record&)) {
  RouteModel& model = record.model;
  FieldReader& reader = record.reader;
  model.error_code = 0;
  try {
    const Flow flow = read_one(record, read_record);
    if (model.error_code == 0) return flow;
  } catch (const std::exception& failure) {
    note_failure(model, reader, failure);
    const bool next_record_met = cut_short(record) && !reader.at_end();
    return resume(reader, record.keyword.line, next_record_met ? reader.site().line : 0);
  }
  note_recorded_error(model);
  return resume(reader, record.keyword.line, 0);
}

}  // namespace

Token::Token(std::string text) : text_(std::move(text)), lower_(ascii_lower(text_)) {}

void read_token(RouteModel& model, FieldReader& reader) { model.text_buffer = reader.read_text(); }

bool find_general_heading(RouteModel& model, FieldReader& reader) {
  for (;;) {
    read_token(model, reader);
    const bool heading = Token(model.text_buffer).has_any_case(kGeneralHeading);
    if (heading || reader.at_end()) return heading;
  }
}

Flow read_records(RouteModel& model, FieldReader& reader, ReaderState& state, Source source, CommentRule comments,
                  Flow (*read_record)(Record&)) {
  while (next_token(model, reader, comments)) {
    Record record{.model = model,
                  .reader = reader,
                  .state = state,
                  .source = source,
                  .token = Token(model.text_buffer),
                  .keyword = reader.site(),
                  .opens_line = reader.field_opens_line(),
                  .fields_before = reader.fields_read()};
    warn_foreign_comment(record);
    const Flow flow = model.notes.recover ? read_recovering(record, read_record) : read_one(record, read_record);
    warn_unknown_record(record);
    if (flow != Flow::kNext) return flow;
  }
  return Flow::kEnd;
}

Flow read_keywords(Record& record, std::span<const KeywordTest> tests) {
  for (const KeywordTest& test : tests) {
    if (!holds(record.token, test.word, test.letter_case) || !holds(record.token, test.also, test.letter_case)) {
      continue;
    }
    record.test = &test;
    record.fields_before = record.reader.fields_read();
    const Flow flow = test.read(record);
    if (flow != Flow::kNext) return flow;
  }
  return Flow::kNext;
}

Number read_sited(Record& record) {
  const int32_t value = record.reader.read_number();
  const FieldSite field = record.reader.site();
  return {value, field.line == record.keyword.line ? field : record.keyword};
}

int64_t last_position(const RouteModel& model, int64_t reach) {
  return int64_t{kCellLength} * model.last_cell - reach;
}

bool passes_position_check(Record& record, std::string_view what, const Number& position) {
  if (position.value <= last_position(record.model, kPositionMargin)) return true;
  refuse_at(record.model, record.reader, position.site, kPositionError, beyond_grid(record, what, position.value));
  return false;
}

void run_end_step(RouteModel& model, FieldReader& reader, void (*step)(RouteModel&, ReaderState&),
                  ReaderState& state) {
  if (!model.notes.recover) return step(model, state);
  try {
    step(model, state);
  } catch (const std::exception& failure) {
    note_failure(model, reader, failure);
  }
}

void note_text(const Record& record, int32_t row, FieldSite at) {
  record.model.notes.texts.emplace_back(row, site_of(record.reader, at));
}

Flow point_at(Record& record, FieldSite at, Flow flow) {
  if (flow != Flow::kNext) mark_site(record.model, record.reader, at);
  return flow;
}

}  // namespace scenario
