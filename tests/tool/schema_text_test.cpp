// The schema as people read it: the handbook's record tables are the ones it
// generates, every record has a table there, and `scenario explain KEYWORD`
// prints a record's fields.

#include "tool/schema_text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "tool/error_catalogue.h"
#include "tool/tool_run.h"

namespace scenario::tool {
namespace {

using testing::Outcome;
using testing::scenario_tool;

const std::string kHandbook = std::string(PROJECT_SOURCE_DIR) + "/docs/source-format.md";

std::string handbook() {
  std::ifstream in(kHandbook, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(SchemaText, TheHandbookTablesAreWhatTheSchemaGenerates) {
  const std::string document = handbook();
  ASSERT_FALSE(document.empty());
  EXPECT_TRUE(with_schema_tables(document) == document)
      << "docs/source-format.md is stale: scenario explain --markdown-schema docs/source-format.md > new.md && "
         "mv new.md docs/source-format.md";
}

// The keywords of every "<!-- schema: fields … -->" marker: each record of
// the schema once.
TEST(SchemaText, EveryRecordHasItsFieldTableInTheHandbook) {
  const std::string document = handbook();
  const std::string fields_marker = std::string(kSchemaMarker) + "fields ";
  std::multiset<std::string> listed;
  for (size_t at = 0; (at = document.find(fields_marker, at)) != std::string::npos;) {
    at += fields_marker.size();
    const std::string keywords = document.substr(at, document.find(" -->", at) - at);
    std::istringstream list(keywords);
    for (std::string keyword; std::getline(list, keyword, ',');) {
      listed.insert(keyword.substr(keyword.find_first_not_of(' ')));
    }
  }
  std::multiset<std::string> records;
  for (const SchemaRecord& record : source_schema()) records.insert(std::string(record.keyword));
  EXPECT_EQ(listed, records);
}

TEST(SchemaText, AMarkerThatNamesNoTableIsRefused) {
  EXPECT_THROW(with_schema_tables("<!-- schema: fields segnal -->\n| old |\n"), std::invalid_argument);
  EXPECT_THROW(with_schema_tables("<!-- schema: records signals -->\n"), std::invalid_argument);
  EXPECT_EQ(with_schema_tables("text\n| not after a marker |\n"), "text\n| not after a marker |\n");
}

TEST(SchemaText, ExplainPrintsASignalsFields) {
  const Outcome outcome = scenario_tool({"explain", "segnale"});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.err, "");
  const std::string& out = outcome.out;
  EXPECT_TRUE(out.starts_with("segnale: signal, a record of the train source, after [generale]\n"
                              "A lineside signal: its values are packed one decimal digit each for the simulator.\n"
                              "Keyword: the field must contain \"segnale\" (any case)\n"
                              "Example: segnale,    1500,   2, 4, 0,  0, 0,    2,  2,0,0, 0\n"
                              "Fields, in order:\n"
                              "  1. posizione (m): from −75; p + 100 ≤ G; outside: error 15\n"))
      << out;
  EXPECT_NE(out.find("  2. sx: 0 to 2; outside: warning \"out-of-range\"\n"
                     "     Code of the s group; with 2 tempo is kept.\n"
                     "     Stored: p4 = rapp × 10 + sx × 3 + dx, low 16 bits; approach codes (sx × 3 + dx) × 10 + 1 "
                     "to 4.\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("  11. tempo: 0 to 255;"), std::string::npos) << out;
}

// A topic names a record by its keyword or as the readers would take it;
// a number is an error number as before; anything else is a bad command line.
TEST(SchemaText, ExplainTakesKeywordsFormsAndNumbers) {
  struct Topic {
    std::string topic;
    int status;
    std::string first_line;
  };
  const Topic topics[] = {
      {"Velocita", 0, "velocita: line speed limit, a record of the train source, after [generale]"},
      {"lunghezza percorso", 0, "lunghezza percorso: route length, a record of the line source, general section "
                                "([generale] up to the next heading)"},
      {"progressiva chilometrica due", 0, "progressiva chilometrica: kilometre numbering, a record of the line "
                                          "source, general section ([generale] up to the next heading)"},
      {"curvas4", 0, "curva: curve, a record of the line source, after the general section"},
      {"PROGRESSIVA chilometrica uno", 2, ""},
      {"segnali", 2, ""},
  };
  for (const Topic& t : topics) {
    const Outcome outcome = scenario_tool({"explain", t.topic});
    EXPECT_EQ(outcome.status, t.status) << t.topic;
    EXPECT_EQ(outcome.out.substr(0, outcome.out.find('\n')), t.first_line) << t.topic;
    if (t.status != 0) {
      EXPECT_NE(outcome.err.find("no error, warning or record \"" + t.topic + "\""), std::string::npos) << outcome.err;
      EXPECT_NE(outcome.err.find("or a record's keyword (lunghezza percorso, "), std::string::npos) << outcome.err;
    }
  }
  const Outcome number = scenario_tool({"explain", "16"});
  EXPECT_EQ(number.status, 0);
  EXPECT_EQ(number.out, explanation_text(*explain_error(16)));
}

}  // namespace
}  // namespace scenario::tool
