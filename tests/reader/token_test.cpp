#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "reader/record_loop.h"

namespace scenario {
namespace {

// A keyword stands anywhere in a token, its first byte repeated or not, and
// only whole: the cases of a search that starts over at each first byte.
struct ContainsCase {
  std::string_view text;
  std::string_view word;
  bool found;
};

constexpr ContainsCase kContainsCases[] = {
    {"velocita", "velocit", true},   {"xvelocita", "velocit", true},  {"velocit", "velocit", true},
    {"veloci", "velocit", false},    {"", "", true},                  {"abc", "", true},
    {"", "a", false},                {"aaab", "aab", true},           {"aab", "aaab", false},
    {"abab", "bab", true},           {"ab a", "a", true},             {"segnal e", "segnale", false},
    {"[generale]", "]", true},       {"[generale", "]", false},       {"4", "4", true},
};

TEST(Token, AWordIsFoundAnywhereInTheToken) {
  for (const ContainsCase& c : kContainsCases) {
    EXPECT_EQ(contains(c.text, c.word), c.found) << '"' << c.text << "\" \"" << c.word << '"';
  }
}

TEST(Token, AnyCaseLowersTheTokenAlone) {
  const Token token("SEGNALE Velocita");
  EXPECT_TRUE(token.has_any_case("segnale"));
  EXPECT_FALSE(token.has("segnale"));
  EXPECT_TRUE(token.has("SEGNALE"));
  EXPECT_FALSE(token.has_any_case("SEGNALE"));
}

// The record kinds a token starts, in the order their tests ran them.
std::vector<std::string> g_started;

Outcome note(Record& record) {
  g_started.push_back(std::string(record.test->word) + "+" + std::string(record.test->also));
  return {};
}

constexpr KeywordTest kFirstTable[] = {{"aa", "", KeywordTest::kExact, note, {"a", 0}},
                                       {"bb", "", KeywordTest::kAnyCase, note, {"b", 0}}};
constexpr KeywordTest kSecondTable[] = {{"bb", "cc", KeywordTest::kExact, note, {"b", 0}},
                                        {"aa", "", KeywordTest::kExact, note, {"a", 0}}};

// Which record kinds each token in turn starts, each tested against its own
// table: a run of equal tokens reuses the outcome of the first, and only
// against the table it was found for.
std::vector<std::string> started(const std::vector<std::pair<std::string_view, std::span<const KeywordTest>>>& tokens) {
  RouteModel model;
  FieldReader reader("");
  ReaderContext context(false);
  std::vector<std::string> all;
  for (const auto& [text, table] : tokens) {
    g_started.clear();
    context.text_buffer = text;
    Record record(model, reader, context, Source::kTrain, false);
    read_keywords(record, table);
    std::string kinds;
    for (const std::string& kind : g_started) kinds += kinds.empty() ? kind : " " + kind;
    all.push_back(std::string(text) + ": " + kinds);
  }
  return all;
}

TEST(Token, EachTokenStartsTheKindsOfItsOwnTable) {
  const std::vector<std::string> expected = {
      "aa BB cc: aa+ bb+", "aa BB cc: aa+ bb+", "aa BB cc: aa+", "aa bb cc: bb+cc aa+", "aa bb cc: bb+cc aa+",
      "aa bb cc: aa+ bb+", "bb: bb+",
  };
  EXPECT_EQ(started({{"aa BB cc", kFirstTable},
                     {"aa BB cc", kFirstTable},
                     {"aa BB cc", kSecondTable},
                     {"aa bb cc", kSecondTable},
                     {"aa bb cc", kSecondTable},
                     {"aa bb cc", kFirstTable},
                     {"bb", kFirstTable}}),
            expected);
}

}  // namespace
}  // namespace scenario
