#include "reader/record_loop.h"

#include <utility>

#include "model/numeric.h"
#include "model/windows1252.h"
#include "reader/left_over_fields.h"
#include "reader/misplaced_records.h"
#include "reader/sense_warnings.h"
#include "reader/warnings.h"

namespace scenario {
namespace {

constexpr std::string_view kGeneralHeading = "[generale]";
constexpr char kCommentMark = '-';

bool is_digit(char c) { return c >= '0' && c <= '9'; }

bool is_comment(std::string_view token) { return token.find(kCommentMark) != std::string_view::npos; }

// Reads the token of the next record, dropping comment tokens; false once
// the records end. past_limit tells whether the token is a comment all the
// same, the comments before it having reached their limit.
bool next_token(ReaderContext& context, FieldReader& reader, CommentRule comments, bool& past_limit) {
  if (reader.at_end()) return false;
  read_token(context, reader);
  if (reader.at_end()) {
    warn_unread_last_field(context, reader);
    return false;
  }
  int dropped = 0;
  for (; dropped < comments.limit && is_comment(context.text_buffer); ++dropped) {
    read_token(context, reader);
    if (comments.source_may_end && reader.at_end()) {
      warn_unread_last_field(context, reader);
      return false;
    }
  }
  past_limit = dropped == comments.limit && is_comment(context.text_buffer);
  return true;
}

bool holds(const Token& token, std::string_view word, KeywordTest::Case letter_case) {
  return letter_case == KeywordTest::kExact ? token.has(word) : token.has_any_case(word);
}

// The two sources word it differently; both texts are kept as they are.
std::string beyond_grid_text(const Record& record, std::string_view what, int32_t position) {
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
  if (field.line <= record.keyword.line || !reader.field_opens_line() || field.offset >= reader.text().size()) {
    return false;
  }
  const char first = reader.text()[field.offset];
  return !is_digit(first) && first != '-' && first != '\r' && first != '\n';
}

Refusal cut_short_refusal(const Record& record) {
  const FieldReader& reader = record.reader;
  const Layout& layout = record.test->layout;
  const std::string after = reader.at_end() ? "the file ends after it"
                                            : "line " + std::to_string(reader.site().line) + " begins the next record";
  const FieldSite end = FieldReader::on_line_of(record.keyword, reader.content_end_column(record.keyword));
  return refusal_at(reader, end, kRunFailure,
                    "the " + std::string(layout.name) + " record on line " + std::to_string(record.keyword.line) +
                        " has " + std::to_string(reader.fields_read() - record.fields_before) + " of its " +
                        std::to_string(layout.fields) + " " + std::string(layout.unit) + "; " + after);
}

// Cell 1, whose first two places the compiler stamps, as it stands; an
// empty cell before there is a grid.
Cell reserved_cell(const RouteModel& model) {
  if (model.cells.size() <= static_cast<size_t>(kReservedCell)) return {};
  return model.cells[kReservedCell];
}

bool places_differ(const Cell& a, const Cell& b) { return a.p1 != b.p1 || a.p2 != b.p2; }

// A record read, and whether a record cut short met the next one: a
// recovering reading goes on there.
struct RecordRead {
  Outcome outcome;
  bool next_record_met = false;
};

RecordRead read_one(Record& record, Outcome (*read_record)(Record&)) {
  const Cell reserved = reserved_cell(record.model);
  RecordRead read;
  try {
    read.outcome = read_record(record);
  } catch (const RunFailure& failure) {
    const bool short_record = cut_short(record);
    read.outcome.refusal = short_record ? cut_short_refusal(record) : failure_refusal(record.reader, failure);
    read.outcome.flow = flow_after(read.outcome.refusal->code);
    read.next_record_met = short_record && !record.reader.at_end();
  }
  // Should the compiler find its places taken, it names the record that took them.
  const Cell now = reserved_cell(record.model);
  if (record.context.strict && places_differ(now, reserved)) {
    record.context.origins.reserved_cell = site_of(record.reader, record.keyword);
  }
  if (!read.outcome.refusal) warn_reserved_cell(record, reserved, now);
  return read;
}

// After a refused record a recovering reading goes on with the next record:
// on the line where a record cut short found the next one, else on the line
// after the refused record's fields.
void resume(FieldReader& reader, const Record& record, bool next_record_met) {
  if (next_record_met) {
    reader.restart_at_line_of(reader.site());
  } else if (!reader.at_line_start() || reader.line() <= record.keyword.line) {
    reader.skip_rest_of_line();
  }
}

// The records a recovering reading reads after the 15 that ends the strict
// reading's records: on a copy of the scenario, given back when the records
// end, so that the end processing and the train source see the scenario as
// the strict reading leaves it.
class SidePath {
 public:
  SidePath(ReaderContext& context, RouteModel& model) : context_(context), model_(model) {}
  SidePath(const SidePath&) = delete;
  SidePath& operator=(const SidePath&) = delete;

  void begin() {
    saved_.emplace(model_, context_.state);
    context_.strict = false;
  }

  void end() {
    if (!saved_) return;
    model_ = std::move(saved_->first);
    context_.state = saved_->second;
    context_.strict = true;
    saved_.reset();
  }

 private:
  ReaderContext& context_;
  RouteModel& model_;
  std::optional<std::pair<RouteModel, ReaderState>> saved_;
};

// How the loop goes on after a record: as the record says, or after a
// refusal as the reading's kind says.
Flow go_on(Record& record, RecordRead read, SidePath& side) {
  if (!read.outcome.refusal) return read.outcome.flow;
  ReaderContext& context = record.context;
  const bool strict = context.strict;
  const Flow flow = settle(context, record.model, std::move(*read.outcome.refusal));
  if (!context.recover) return flow;
  if (flow == Flow::kEnd && strict) side.begin();
  resume(record.reader, record, read.next_record_met);
  return Flow::kNext;
}

}  // namespace

Record::Record(RouteModel& route, FieldReader& fields, ReaderContext& reading, Source in, bool past_limit)
    : model(route),
      reader(fields),
      context(reading),
      state(reading.state),
      source(in),
      token(reading.text_buffer),
      keyword(fields.site()),
      opens_line(fields.field_opens_line()),
      fields_before(fields.fields_read()),
      past_comment_limit(past_limit) {}

const std::string& Token::lower() const {
  if (!lower_) lower_ = ascii_lower(text_);
  return *lower_;
}

void read_token(ReaderContext& context, FieldReader& reader) { context.text_buffer = reader.read_text(); }

bool find_general_heading(ReaderContext& context, FieldReader& reader) {
  for (;;) {
    read_token(context, reader);
    const bool heading = Token(context.text_buffer).has_any_case(kGeneralHeading);
    if (heading || reader.at_end()) return heading;
  }
}

Flow read_records(RouteModel& model, FieldReader& reader, ReaderContext& context, Source source,
                  CommentRule comments, Outcome (*read_record)(Record&)) {
  SidePath side(context, model);
  Flow flow = Flow::kEnd;
  for (;;) {
    bool past_comment_limit = false;
    try {
      if (!next_token(context, reader, comments, past_comment_limit)) break;
    } catch (const RunFailure& failure) {
      // A token that cannot be read (a quote never closed) runs to the end
      // of the source: the records end there.
      const Flow settled = settle(context, model, failure_refusal(reader, failure));
      flow = context.recover ? Flow::kEnd : settled;
      break;
    }
    Record record(model, reader, context, source, past_comment_limit);
    warn_foreign_comment(record);
    if (past_comment_limit) warn_comment_limit(record, comments);
    const size_t record_begins = context.log.kept();
    RecordRead read = read_one(record, read_record);
    if (!read.outcome.refusal) {
      // What the line holds past the record (a thousands separator, a
      // decimal comma) is the cause of the record's other warnings: first.
      const size_t left_over = context.log.kept();
      warn_left_over(record);
      context.log.bring_forward(record_begins, left_over);
    }
    flow = go_on(record, std::move(read), side);
    warn_unknown_record(record);
    if (flow != Flow::kNext) break;
  }
  side.end();
  return flow == Flow::kNext ? Flow::kEnd : flow;
}

namespace {

// While a kept record is read, the reader adds its fields to it; the
// keeping ends with the record, however its reading ends.
class FieldsKept {
 public:
  FieldsKept(Record& record, const KeywordTest& test) : reader_(record.reader) {
    ReaderContext& context = record.context;
    if (!context.keep_records) return;
    KeptRecord& kept = context.records.emplace_back();
    kept.schema = schema_of(test);
    kept.file = reader_.file_name();
    kept.keyword = record.keyword;
    kept.token = record.token.text();
    kept.line = reader_.excerpt(record.keyword);
    kept.in_scenario = context.strict;
    reader_.keep_fields(&kept.fields);
  }
  ~FieldsKept() { reader_.keep_fields(nullptr); }
  FieldsKept(const FieldsKept&) = delete;
  FieldsKept& operator=(const FieldsKept&) = delete;

 private:
  FieldReader& reader_;
};

// The record being read, when records are kept.
KeptRecord* kept_record(const Record& record) {
  ReaderContext& context = record.context;
  return context.keep_records && !context.records.empty() ? &context.records.back() : nullptr;
}

// The kinds of tests that the record's token starts, bit i for tests[i]:
// tested anew only when the token or the tests are not the last record's.
uint64_t started_kinds(const Record& record, std::span<const KeywordTest> tests) {
  StartedKinds& last = record.context.started;
  if (last.table != tests.data() || last.token != record.token.text()) {
    last.kinds = 0;
    for (size_t i = 0; i < tests.size(); ++i) {
      if (starts(record.token, tests[i])) last.kinds |= uint64_t{1} << i;
    }
    last.table = tests.data();
    last.token = record.token.text();
  }
  return last.kinds;
}

}  // namespace

Outcome read_keywords(Record& record, std::span<const KeywordTest> tests) {
  record.tests = tests;
  const uint64_t kinds = started_kinds(record, tests);
  for (size_t i = 0; i < tests.size(); ++i) {
    if ((kinds >> i & 1U) == 0) continue;
    const KeywordTest& test = tests[i];
    record.test = &test;
    record.fields_before = record.reader.fields_read();
    const FieldsKept kept(record, test);
    Outcome outcome = test.read(record);
    if (outcome.flow != Flow::kNext) return outcome;
  }
  return {};
}

bool starts(const Token& token, const KeywordTest& test) {
  return holds(token, test.word, test.letter_case) && holds(token, test.also, test.letter_case);
}

Number read_sited(Record& record) {
  const int32_t value = record.reader.read_number();
  const FieldSite field = record.reader.site();
  return {value, field.line == record.keyword.line ? field : record.keyword};
}

// A position beyond the grid depends on the row that set the route length.
void note_route_length(const Record& record, Outcome& outcome) {
  if (outcome.refusal->code != kPositionError || record.state.route_length_row.line == 0) return;
  outcome.refusal->notes.push_back(record.state.route_length_row);
}

Outcome refused(const Record& record, FieldSite at, ErrorCode code, std::string detail) {
  Outcome outcome{flow_after(code), refusal_at(record.reader, at, code, std::move(detail))};
  note_route_length(record, outcome);
  return outcome;
}

// The note of a refusal in a cell: the record that put the object there,
// shown with its line when it is of the source being read.
std::optional<ErrorSite> placement_note(const Record& record, int64_t cell) {
  const auto found = record.state.placements.find(cell);
  if (cell == kNoCell || found == record.state.placements.end()) return std::nullopt;
  const Placement& placement = found->second;
  const bool same_source = placement.in_line_source == (record.source == Source::kLine);
  ErrorSite site;
  site.file = same_source ? record.reader.file_name() : record.context.line_file;
  site.line = placement.at.line;
  site.column = placement.at.column;
  if (same_source) site.excerpt = record.reader.excerpt(placement.at);
  site.detail = "the " + std::string(placement.what) + " at " + std::to_string(placement.position) +
                " m put it there";
  return site;
}

Outcome placed(const Record& record, FieldSite at, Verdict verdict) {
  if (!verdict) return {};
  Outcome outcome{flow_after(verdict->code), refusal_at(record.reader, at, verdict->code, std::move(verdict->detail))};
  if (!verdict->table_full) note_route_length(record, outcome);
  if (auto note = placement_note(record, verdict->taken_cell)) outcome.refusal->notes.push_back(std::move(*note));
  return outcome;
}

void note_placement(Record& record, int64_t cell, std::string_view what, const Number& position) {
  record.state.placements[cell] = {record.source == Source::kLine, position.site, what, position.value};
  if (KeptRecord* kept = kept_record(record)) kept->cells.push_back(cell);
}

int64_t last_position(const RouteModel& model, int64_t reach) {
  return int64_t{kCellLength} * model.last_cell - reach;
}

std::optional<Outcome> beyond_grid(const Record& record, std::string_view what, const Number& position) {
  if (position.value <= last_position(record.model, kPositionMargin)) return std::nullopt;
  return refused(record, position.site, kPositionError, beyond_grid_text(record, what, position.value));
}

void note_text(const Record& record, int32_t row, FieldSite at) {
  if (record.context.strict) record.context.origins.texts.at(static_cast<size_t>(row)) = site_of(record.reader, at);
  if (KeptRecord* kept = kept_record(record)) kept->row = row;
}

}  // namespace scenario
