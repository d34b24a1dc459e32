#include "reader/misplaced_records.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>

#include "model/windows1252.h"
#include "reader/line_source.h"
#include "reader/train_source.h"
#include "reader/warnings.h"

namespace scenario {
namespace {

constexpr std::string_view kLineSource = "line source";
constexpr std::string_view kTrainSource = "train source";
constexpr std::string_view kGeneral = "[generale]";

// The sections whose records are tested apart: the line source's general
// section, its track records, and the train source.
struct KeywordSection {
  std::span<const KeywordTest> (*tests)();
  std::string_view source;
};
constexpr std::array kSections = {KeywordSection{general_rows, kLineSource}, KeywordSection{track_records, kLineSource},
                                  KeywordSection{train_records, kTrainSource}};

// The headings the built-in sources put each record kind under, by the name
// of its layout. Only the line source's general section is read apart; the
// other headings are there for people.
struct Heading {
  std::string_view record;
  std::string_view heading;
};
constexpr std::array kHeadings = {
    Heading{"route length", kGeneral},       Heading{"progressive system", kGeneral},
    Heading{"background", kGeneral},         Heading{"signal repetition", kGeneral},
    Heading{"curve", "[curve]"},             Heading{"gradient", "[pendenze]"},
    Heading{"tunnel", "[montagne]"},         Heading{"speed board", "[cartelli]"},
    Heading{"indication board", "[indicazioni]"},
    Heading{"braked mass", kGeneral},        Heading{"coaches", kGeneral},
    Heading{"speed limit", "[vel_limite]"},  Heading{"adhesion", "[aderenze]"},
    Heading{"clock", kGeneral},              Heading{"sand", kGeneral},
    Heading{"signal", "[segnali]"},          Heading{"slowdown", "[rallentamenti]"},
    Heading{"speed reduction point", "[abbattimenti]"},
    Heading{"station", "[stazioni]"},
};

bool contains(std::span<const KeywordTest> tests, const KeywordTest& test) {
  return std::any_of(tests.begin(), tests.end(), [&test](const KeywordTest& one) { return &one == &test; });
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

std::optional<RecordHome> home_of(const KeywordTest& test) {
  for (const KeywordSection& section : kSections) {
    if (!contains(section.tests(), test)) continue;
    for (const Heading& heading : kHeadings) {
      if (heading.record == test.layout.name) return RecordHome{section.source, heading.heading};
    }
  }
  return std::nullopt;
}

bool warn_misplaced(Record& record) {
  if (const KeywordTest* own = started_in_any_case(record.token, record.tests)) {
    warn_keyword_case(record, *own);
    return true;
  }
  for (const KeywordSection& section : kSections) {
    const std::span<const KeywordTest> tests = section.tests();
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
