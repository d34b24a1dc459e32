#include <gtest/gtest.h>

#include <string_view>

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

}  // namespace
}  // namespace scenario
