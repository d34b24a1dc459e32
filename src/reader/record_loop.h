#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "model/error_codes.h"
#include "model/route_model.h"
#include "reader/field_reader.h"
#include "reader/reader_context.h"
#include "reader/reader_state.h"
#include "reader/refuse.h"

// The one reading loop of both sources: tokens, comment tokens, keyword
// tests, the record being read, the position check and how a record's
// outcome goes on with the reading or ends it.

namespace scenario {

// Whether word stands anywhere in text. A plain loop: a token is a few
// bytes, and a library search costs more in its calls than in its compares.
inline bool contains(std::string_view text, std::string_view word) {
  if (word.size() > text.size()) return false;
  if (word.empty()) return true;
  const char first = word.front();
  const std::string_view rest = word.substr(1);
  for (size_t at = 0, last = text.size() - word.size(); at <= last; ++at) {
    if (text[at] == first && text.substr(at + 1, rest.size()) == rest) return true;
  }
  return false;
}

// Keyword tests look for a word anywhere in the token; the format fixes for
// each word whether letter case counts.
class Token {
 public:
  explicit Token(std::string_view text) : text_(text) {}
  const std::string& text() const { return text_; }
  bool has(std::string_view word) const { return contains(text_, word); }
  // word in lower case.
  bool has_any_case(std::string_view word) const { return contains(lower(), word); }

 private:
  // The text in lower case, made when a test first asks for it: a record
  // whose token is the last record's reuses that one's tests, and most
  // tokens are never lowered.
  const std::string& lower() const;

  std::string text_;
  mutable std::optional<std::string> lower_;
};

// The next field as text; it becomes the latest token, held in text_buffer.
void read_token(ReaderContext& context, FieldReader& reader);

// Reads tokens up to one that holds "[generale]", in any letter case, or up
// to the end of the source, and tells whether the last token read is that
// heading. Everything before it, a free comment line among it, is skipped.
// The search reads before it tests for the end: an empty source is a read
// failure.
bool find_general_heading(ReaderContext& context, FieldReader& reader);

// What a record handler answers: how the reading goes on, and the refusal
// when it refused the record (15 ends the records, any other number stops a
// strict reading).
//
// The constructors are written out: an aggregate, or a defaulted default
// constructor, would have every plain outcome ({}, which each record read
// returns) cleared whole, the bytes of its unused refusal included, and that
// was a good part of a record's time.
struct Outcome {
  Outcome() {}  // NOLINT(modernize-use-equals-default)
  Outcome(Flow how, std::optional<Refusal> why = std::nullopt)  // NOLINT(google-explicit-constructor)
      : flow(how), refusal(std::move(why)) {}

  Flow flow = Flow::kNext;
  std::optional<Refusal> refusal;
};

// A token holding "-" is a comment: the next token replaces it before the
// keyword tests, up to limit times in a row; the next one is tested whatever
// it holds. Where source_may_end, the source may end after each comment
// token, which ends the records.
struct CommentRule {
  int limit;
  bool source_may_end;
};

// The track records of the line source and the records of the train source:
// two comment tokens in a row at most.
inline constexpr CommentRule kRecordComments{2, true};

// Which source a record stands in: the two word a position beyond the grid
// differently.
enum class Source { kLine, kTrain };

struct KeywordTest;

// The record being read, from its keyword token on. A diagnostic about it
// points at the line the record began on: at one of its fields there, or at
// the keyword.
struct Record {
  // The record whose keyword token the reader has just read into the
  // context's latest token. A constructor rather than an aggregate's braces,
  // which would clear the whole record first, for every record read.
  Record(RouteModel& route, FieldReader& fields, ReaderContext& reading, Source in, bool past_limit);

  RouteModel& model;
  FieldReader& reader;
  ReaderContext& context;
  ReaderState& state;
  Source source;
  Token token;
  FieldSite keyword;  // where the record began: keyword.line is the record's line
  bool opens_line = false;            // the keyword is the first field of its line
  int fields_before = 0;              // fields the reader had read up to the keyword
  const KeywordTest* test = nullptr;  // the record kind being read, once one matched
  std::span<const KeywordTest> tests{};  // the record kinds its token was tested against
  bool past_comment_limit = false;     // the token is a comment read as a record
};

// Reads records until the source ends or a record ends the reading: every
// record of both sources passes through here. Each pass reads a token,
// unless the source is at its end, drops comment tokens and hands the record
// to read_record. The last field of a source is never a record: the source
// ending right after a token ends the records without testing it.
//
// A strict reading returns kEnd at the end of the records or at a 15, and
// kStop at any other refusal. A recovering reading notes each refusal, goes
// on with the next record and returns kEnd; the records it reads after a 15
// that ends the strict reading's records are read on a copy of the scenario,
// for their diagnostics alone.
Flow read_records(RouteModel& model, FieldReader& reader, ReaderContext& context, Source source,
                  CommentRule comments, Outcome (*read_record)(Record&));

// What a record kind holds after its keyword, for messages about a record
// cut short.
struct Layout {
  std::string_view name;  // "signal"
  int fields = 0;
  std::string_view unit = "numbers";
  bool ends_in_text = false;  // its last field is a text, which a comma cuts
};

// The most tests a table of keyword tests may hold: which of them a token
// starts is one bit each in a 64-bit word.
inline constexpr size_t kMostRecordKinds = 64;

// One keyword test: a token that holds word (and also, when not empty)
// starts the record that read reads.
struct KeywordTest {
  enum Case { kExact, kAnyCase };
  std::string_view word;
  std::string_view also;
  Case letter_case;
  Outcome (*read)(Record&);
  Layout layout;
};

// Runs the tests in their order, each independent of the others, so that one
// token may start several records, each reading its own numbers. A record
// that does not go on skips the tests after it.
Outcome read_keywords(Record& record, std::span<const KeywordTest> tests);

// Whether the token starts the record of test, letter case as the format
// fixes it for that record's words.
bool starts(const Token& token, const KeywordTest& test);

// A number of the record and where a diagnostic about it points: at the
// field itself when it stands on the record's line, else at the keyword.
struct Number {
  int32_t value = 0;
  FieldSite site;
};

Number read_sited(Record& record);

// The record is refused, at the field at.
Outcome refused(const Record& record, FieldSite at, ErrorCode code, std::string detail);

// What a placing procedure answered, the refusal pointing at the field at,
// and noting the record that put the object in its way there.
Outcome placed(const Record& record, FieldSite at, Verdict verdict);

// Keeps which record put the object now in cell: the what at position,
// whose position field is at.
void note_placement(Record& record, int64_t cell, std::string_view what, const Number& position);

// The last position at which a record still has reach metres of grid after
// it.
int64_t last_position(const RouteModel& model, int64_t reach);

// Every record that carries a position p needs (p + 100) / 50 <= last_cell,
// compared exactly. One that fails is refused with 15, which ends the
// records as at the end of the source.
std::optional<Outcome> beyond_grid(const Record& record, std::string_view what, const Number& position);

// The record stored the text of entries row from the field at: should the
// text be too long to write, the author learns where it came from.
void note_text(const Record& record, int32_t row, FieldSite at);

// Whether a strict reading stops after a step that went as flow says.
inline bool strict_stop(const ReaderContext& context, Flow flow) { return flow == Flow::kStop && !context.recover; }

}  // namespace scenario
