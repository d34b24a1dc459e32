#include "tool/warning_catalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "tool/tool_run.h"

namespace scenario::tool {
namespace {

using scenario::testing::Outcome;
using scenario::testing::scenario_tool;

std::string file_text(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Every name the readers pass to warn(), warn_at() or warn_file(), found in
// their sources: the name is the first string literal of the call.
std::set<std::string> names_raised_by_the_readers() {
  const std::regex call(R"re(\bwarn(?:_at|_file)?\s*\([^";]*?"([a-z0-9-]+)")re");
  std::set<std::string> names;
  const std::filesystem::path readers = std::filesystem::path(PROJECT_SOURCE_DIR) / "src/reader";
  for (const auto& file : std::filesystem::directory_iterator(readers)) {
    const std::string text = file_text(file.path());
    for (auto it = std::sregex_iterator(text.begin(), text.end(), call); it != std::sregex_iterator(); ++it) {
      names.insert((*it)[1].str());
    }
  }
  return names;
}

std::set<std::string> catalogue_names() {
  std::set<std::string> names;
  for (const WarningExplanation& entry : warning_catalogue()) names.insert(std::string(entry.name));
  return names;
}

TEST(WarningCatalogue, EveryWarningTheReadersRaiseHasACompleteEntry) {
  const std::set<std::string> raised = names_raised_by_the_readers();
  // The search itself must see the calls, old and new.
  for (const char* name : {"unknown-record", "no-general-heading", "text-cut", "extra-fields", "fast-slowdown"}) {
    EXPECT_TRUE(raised.contains(name)) << name;
  }
  for (const std::string& name : raised) {
    const WarningExplanation* entry = explain_warning(name);
    ASSERT_NE(entry, nullptr) << name << " is raised in src/reader but has no entry in the warning catalogue";
    EXPECT_FALSE(entry->meaning.empty() || entry->cause.empty() || entry->fix.empty() || entry->example.empty())
        << name;
  }
  EXPECT_EQ(explain_warning("no-such-warning"), nullptr);
}

TEST(WarningCatalogue, IsInAlphabeticalOrderWithoutTwins) {
  std::string previous;
  for (const WarningExplanation& entry : warning_catalogue()) {
    EXPECT_LT(previous, entry.name);
    previous = std::string(entry.name);
  }
}

// The README's list of warnings names every one of them.
TEST(WarningCatalogue, TheReadmeListsEveryWarning) {
  const std::string readme = file_text(std::filesystem::path(PROJECT_SOURCE_DIR) / "README.md");
  for (const std::string& name : catalogue_names()) {
    EXPECT_NE(readme.find("`" + name + "`"), std::string::npos) << name;
  }
}

struct Topic {
  std::string topic;
  std::string first_line;
};

// An error number, with or without its letter, and a warning name are all
// explained; anything else is a bad command line that says what is accepted.
TEST(WarningCatalogue, ExplainTakesNumbersLettersAndNames) {
  const Topic topics[] = {
      {"25", "error 25: A field cannot be read.\n"},
      {"E25", "error 25: A field cannot be read.\n"},
      {"e16", "error 16: A signal's cell already holds something.\n"},
      {"unknown-record",
       "warning unknown-record: A line whose first field starts no record, and is no heading or comment, is "
       "skipped.\n"},
      {"digit-group", "warning digit-group: A number written with a thousands separator: the blank splits it into "
                      "two numbers.\n"},
  };
  for (const Topic& topic : topics) {
    const Outcome outcome = scenario_tool({"explain", topic.topic});
    EXPECT_EQ(outcome.status, 0) << topic.topic;
    EXPECT_EQ(outcome.out.substr(0, outcome.out.find('\n') + 1), topic.first_line);
  }
  for (const char* unknown : {"E11", "E", "25x", "Unknown-Record", "warning"}) {
    const Outcome outcome = scenario_tool({"explain", unknown});
    EXPECT_EQ(outcome.status, 2) << unknown;
    EXPECT_EQ(outcome.out, "") << unknown;
    EXPECT_NE(outcome.err.find("give an error number, as 25 or E25"), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find("unknown-record"), std::string::npos) << outcome.err;
  }
}

}  // namespace
}  // namespace scenario::tool
