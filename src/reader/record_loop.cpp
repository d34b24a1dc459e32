#include "reader/record_loop.h"

#include "model/windows1252.h"
#include "reader/error_site.h"

namespace scenario {
namespace {

constexpr std::string_view kGeneralHeading = "[generale]";
constexpr char kCommentMark = '-';
// A record needs 100 m of grid after its position.
constexpr int64_t kPositionMargin = 100;

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
    Record record{model, reader, state, source, Token(model.text_buffer), reader.site()};
    const Flow flow = read_record(record);
    if (flow != Flow::kNext) return flow;
  }
  return Flow::kEnd;
}

Flow read_keywords(Record& record, std::span<const KeywordTest> tests) {
  for (const KeywordTest& test : tests) {
    if (!holds(record.token, test.word, test.letter_case) || !holds(record.token, test.also, test.letter_case)) {
      continue;
    }
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

Flow point_at(Record& record, FieldSite at, Flow flow) {
  if (flow != Flow::kNext) mark_site(record.model, record.reader, at);
  return flow;
}

}  // namespace scenario
