#include "tool/error_catalogue.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "model/error_codes.h"
#include "tool/warning_catalogue.h"

namespace scenario::tool {
namespace {

std::string document(const char* name) {
  std::ifstream in(std::string(PROJECT_SOURCE_DIR) + "/docs/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::set<int32_t> catalogue_numbers() {
  std::set<int32_t> numbers;
  for (const ErrorExplanation& entry : error_catalogue()) numbers.insert(entry.number);
  return numbers;
}

// The warnings follow the error numbers in the same document.
TEST(ErrorCatalogue, DocumentIsWhatTheCatalogueGenerates) {
  EXPECT_TRUE(document("errors.md") == error_catalogue_markdown() + warning_catalogue_markdown())
      << "docs/errors.md is stale: scenario explain --markdown > docs/errors.md";
}

// The handbook's table of error numbers ("| 17, 18, 19, 20 | train | ...")
// and the catalogue list the same numbers.
TEST(ErrorCatalogue, EveryNumberOfTheHandbookHasAnEntryAndNoOther) {
  const std::string handbook = document("source-format.md");
  const size_t table = handbook.find("## Error numbers");
  ASSERT_NE(table, std::string::npos);
  const std::string section = handbook.substr(table, handbook.find("\n## ", table + 1) - table);
  std::set<int32_t> listed;
  const std::regex row(R"(\n\| ([0-9, ]+) \|)");
  for (auto it = std::sregex_iterator(section.begin(), section.end(), row); it != std::sregex_iterator(); ++it) {
    std::istringstream numbers((*it)[1].str());
    for (std::string number; std::getline(numbers, number, ',');) listed.insert(std::stoi(number));
  }
  EXPECT_EQ(listed, catalogue_numbers());
}

TEST(ErrorCatalogue, EveryNumberOfTheErrorListHasACompleteEntry) {
  for (const int32_t number : kErrorCodes) {
    const ErrorExplanation* entry = explain_error(number);
    ASSERT_NE(entry, nullptr) << number;
    EXPECT_FALSE(entry->meaning.empty() || entry->cause.empty() || entry->fix.empty() || entry->example.empty())
        << number;
  }
  EXPECT_EQ(catalogue_numbers(), std::set<int32_t>(kErrorCodes.begin(), kErrorCodes.end()));
  EXPECT_EQ(explain_error(11), nullptr);
  EXPECT_EQ(explain_error(0), nullptr);
}

}  // namespace
}  // namespace scenario::tool
