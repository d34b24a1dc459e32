#include "reader/misplaced_records.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>

#include "model/windows1252.h"
#include "reader/line_source.h"
#include "reader/source_schema.h"
#include "reader/train_source.h"
#include "reader/warnings.h"

namespace scenario {
namespace {

constexpr std::string_view kLineSource = "line source";
constexpr std::string_view kTrainSource = "train source";
constexpr std::string_view kGeneral = "[generale]";

// The record tests of each part that is read apart: the line source's
// general section, its track records, and the train source.
constexpr std::array kSections = {general_rows, track_records, train_records};

// A keyword form of the schema and a reader's test of the same words, in
// either order.
bool same_words(const KeywordForm& form, const KeywordTest& test) {
  return (form.word == test.word && form.also == test.also) || (form.word == test.also && form.also == test.word);
}

// The first record kind of tests the token would start, letter case aside.
const KeywordTest* started_in_any_case(const Token& token, std::span<const KeywordTest> tests) {
  for (const KeywordTest& test : tests) {
    if (token.has_any_case(test.word) && token.has_any_case(test.also)) return &test;
  }
  return nullptr;
}

std::string words_of(const KeywordTest& test) {
  std::string words = "\"" + std::string(test.word) + "\"";
  if (!test.also.empty()) words += " and \"" + std::string(test.also) + "\"";
  return words;
}

void warn_keyword_case(Record& record, const KeywordTest& test) {
  const std::string& token = record.token.text();
  warn(record, record.keyword, "keyword-case",
       quoted(token) + " starts no row: the words " + words_of(test) + " are read in lower case only; write " +
           quoted(ascii_lower(token)) + "; the line is skipped");
}

// Why the record is not read where it stands.
std::string_view why_not_here(const Record& record, const RecordHome& home) {
  const std::string_view here = record.source == Source::kLine ? kLineSource : kTrainSource;
  if (home.source != here) return record.source == Source::kLine ? "the line source has no such record"
                                                                  : "the train source has no such record";
  if (home.heading == kGeneral) return "general rows are read only before the first heading after [generale]";
  return "the general section, up to its first heading, reads only its own rows";
}

void warn_wrong_section(Record& record, const RecordHome& home) {
  warn(record, record.keyword, "wrong-section",
       quoted(record.token.text()) + " belongs in the " + std::string(home.source) + "'s " + std::string(home.heading) +
           " section: " + std::string(why_not_here(record, home)) + "; the line is skipped");
}

}  // namespace

const SchemaRecord* schema_of(const KeywordTest& test) {
  for (const SchemaRecord& record : source_schema()) {
    if (std::any_of(record.forms.begin(), record.forms.end(),
                    [&test](const KeywordForm& form) { return same_words(form, test); })) {
      return &record;
    }
  }
  return nullptr;
}

std::optional<RecordHome> home_of(const KeywordTest& test) {
  const SchemaRecord* record = schema_of(test);
  if (record == nullptr) return std::nullopt;
  return RecordHome{record->source == SourceFile::kLine ? kLineSource : kTrainSource, record->heading};
}

bool warn_misplaced(Record& record) {
  if (const KeywordTest* own = started_in_any_case(record.token, record.tests)) {
    warn_keyword_case(record, *own);
    return true;
  }
  for (const auto section_tests : kSections) {
    const std::span<const KeywordTest> tests = section_tests();
    if (tests.data() == record.tests.data()) continue;
    const KeywordTest* elsewhere = started_in_any_case(record.token, tests);
    if (elsewhere == nullptr) continue;
    if (const std::optional<RecordHome> home = home_of(*elsewhere)) {
      warn_wrong_section(record, *home);
      return true;
    }
  }
  return false;
}

}  // namespace scenario
