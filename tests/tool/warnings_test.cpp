// Warnings: what the readers let through but drop or alter, as the author
// sees them; they never change a byte of the files.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "io/replace_file.h"
#include "sources/builtin_sources.h"
#include "sources/line_table.h"
#include "tool/tool_run.h"

namespace scenario {
namespace {

using testing::bytes_of;
using testing::line_with;
using testing::Outcome;
using testing::scenario_tool;
using testing::TempDir;
using testing::train_with;
using testing::write_sources;

struct WarningCase {
  std::string line;
  std::string train;
  std::string message;
};

TEST(Warnings, EachSaysWhatWasDroppedOrAlteredWithItsName) {
  const WarningCase cases[] = {
      {line_with(""), train_with("segnlae, 10500, 1\r\n"),
       "S_T-.txt:2:1: warning: no record begins with \"segnlae\": the line is skipped [unknown-record]\n"
       "segnlae, 10500, 1\n^\n"},
      {line_with(""), "[generle]\r\nvelocita, 0, 100\r\n",
       "S_T-.txt: warning: the train source has no \"[generale]\" heading: none of its records is read "
       "[no-general-heading]\n"},
      {line_with(""), train_with("# note\r\n"),
       "S_T-.txt:2:1: warning: a line beginning with \"#\" is no comment here and is read as a record; a comment "
       "holds \"-\" [foreign-comment]\n# note\n^\n"},
      {line_with(""), train_with("velocita, 1000, 100\r\nvelocita, 1000, 90\r\n"),
       "S_T-.txt:3:11: warning: speed limit at 1000 m is not past the previous one: the previous value is written "
       "to no further cell [fill-not-past]\nvelocita, 1000, 90\n          ^\n"},
      {line_with("pendenza, 1000, 2\r\npendenza, 900, 3\r\n"), train_with(""),
       "S_linea.txt:5:11: warning: gradient at 900 m is not past the previous one: the cells fill on from cell 20, "
       "never back [fill-not-past]\npendenza, 900, 3\n          ^\n"},
      {line_with("curvad4, 1000, 500\r\ncurvas4, 1200, 500\r\n"), train_with(""),
       "S_linea.txt:5:10: warning: curve at 1200 m begins before the previous curve ends at 1500 m: the overlap "
       "keeps the previous bend [overlapping-curves]\ncurvas4, 1200, 500\n         ^\n"},
      {line_with("montagna, 3000, 2000, 1\r\n"), train_with(""),
       "S_linea.txt:4:17: warning: tunnel from 3000 m ends at 2000 m, before it begins: it covers no cell "
       "[reversed-tunnel]\nmontagna, 3000, 2000, 1\n                ^\n"},
      {line_with(""), train_with("velocita, 0, 93\r\n"),
       "S_T-.txt:2:14: warning: speed limit 93 km/h is stored as 95 km/h, in steps of 5 [speed-rounded]\n"
       "velocita, 0, 93\n             ^\n"},
      {line_with(""), train_with("segnale, 10520, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0\r\n"),
       "S_T-.txt:2:10: warning: signal at 10520 m is not on the 50 m cells: it stands as if at 10500 m "
       "[moved-to-cell]\nsegnale, 10520, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0\n         ^\n"},
      {line_with(""), train_with("orologio, 25 0 0\r\n"),
       "S_T-.txt:2:11: warning: start clock 25:00:00 lies outside 00:00:00 to 23:59:59 [late-time]\n"
       "orologio, 25 0 0\n          ^\n"},
      {line_with("cartello_indicatore, 7150, PONTE, NORD\r\n"), train_with(""),
       "S_linea.txt:4:28: warning: the board text \"PONTE\" ends at a comma: the rest of the line is not part of "
       "it [text-cut]\ncartello_indicatore, 7150, PONTE, NORD\n                           ^\n"},
      {line_with("cartello_indicatore, 7150, CAF\u00C9\r\n"), train_with(""),
       "S_linea.txt:4:28: warning: board text \"CAF\u00C3\u2030\" holds bytes that read as UTF-8; the source is "
       "Windows-1252, so save it in that code page [utf8-text]\ncartello_indicatore, 7150, CAF\u00C3\u2030\n"
       "                           ^\n"},
      {line_with(""), train_with("segnale, 22000, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0\r\n"),
       "S_T-.txt:2:10: warning: signal at 22000 m lies past the route's end at 20000 m [past-route-end]\n"
       "segnale, 22000, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0\n         ^\n"},
      {line_with(""), train_with("") + "abbattimento",
       "S_T-.txt:3:1: warning: the last field of the file is never read as a record: \"abbattimento\" is skipped; "
       "end the file with a heading such as [fine] [unread-last-field]\nabbattimento\n^\n"},
  };
  for (const WarningCase& c : cases) {
    TempDir dir;
    write_sources(dir, c.line, c.train);
    const Outcome checked = scenario_tool({"check", "S", "T"}, dir.path());
    EXPECT_EQ(checked.status, 0) << c.message;
    // After the warning, what was read: one line.
    const std::string read = checked.err.substr(std::min(c.message.size(), checked.err.size()));
    EXPECT_EQ(checked.err.substr(0, c.message.size()), c.message);
    EXPECT_TRUE(read.starts_with("S_linea.txt, S_T-.txt: ") && read.ends_with(": no error, 1 warning\n") &&
                read.find('\n') == read.size() - 1)
        << read;
    EXPECT_EQ(scenario_tool({"check", "--strict", "S", "T"}, dir.path()).status, 1) << c.message;
    const Outcome compiled = scenario_tool({"compile", "S", "T"}, dir.path());
    EXPECT_EQ(compiled.status, 0) << c.message;
    EXPECT_EQ(compiled.err, c.message + "1 warning\n");
  }
}

const char* const kBinaries[] = {"Dorvallo_Brisente_linea.dat", "Dorvallo_Brisente_47302.sim",
                                 "Dorvallo_Brisente_47302.dat"};

// The built-in scenario gives no warning, with or without the plan trace;
// check says what it read, counted as the sources hold it.
TEST(Warnings, TheBuiltInScenarioHasNone) {
  TempDir dir;
  ASSERT_EQ(scenario_tool({"export"}, dir.path()).status, 0);
  const Outcome checked = scenario_tool({"check", "--strict", "Dorvallo_Brisente", "47302"}, dir.path());
  EXPECT_EQ(checked.status, 0);
  EXPECT_EQ(checked.out, "");
  EXPECT_EQ(checked.err,
            "Dorvallo_Brisente_linea.txt, Dorvallo_Brisente_47302-.txt: 117 km, 24 stations, 61 signals, "
            "24 speed boards, 30 indication boards, 27 tunnels, no slowdown: no error, no warning\n");
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"compile", "Dorvallo_Brisente", "47302"},
        std::vector<std::string>{"compile", "--no-trace", "Dorvallo_Brisente", "47302"}}) {
    const Outcome outcome = scenario_tool(arguments, dir.path());
    EXPECT_EQ(outcome.status, 0) << arguments[0];
    EXPECT_EQ(outcome.out + outcome.err, "") << arguments[0];
  }
}

// Lines the readers drop, added to the built-in sources, warn and change no
// byte of the three files.
TEST(Warnings, LeaveTheFilesByteIdentical) {
  TempDir plain;
  TempDir warned;
  const std::string line = table_text(line_source_table());
  const std::string train = table_text(train_source_table());
  replace_file(plain / "Dorvallo_Brisente_linea.txt", line);
  replace_file(plain / "Dorvallo_Brisente_47302-.txt", train);
  replace_file(warned / "Dorvallo_Brisente_linea.txt", line + "segnlae, 100\r\n# nota\r\n[fine]\r\n");
  replace_file(warned / "Dorvallo_Brisente_47302-.txt", train + "stazone, 100\r\n// nota\r\n[fine]\r\n");
  ASSERT_EQ(scenario_tool({"compile", "Dorvallo_Brisente", "47302"}, plain.path()).status, 0);
  const Outcome outcome = scenario_tool({"compile", "Dorvallo_Brisente", "47302"}, warned.path());
  EXPECT_EQ(outcome.status, 0);
  EXPECT_NE(outcome.err.find("[unknown-record]"), std::string::npos) << outcome.err;
  EXPECT_NE(outcome.err.find("[foreign-comment]"), std::string::npos) << outcome.err;
  for (const char* name : kBinaries) {
    const auto bytes = bytes_of(warned / name);
    ASSERT_TRUE(bytes.has_value()) << name;
    EXPECT_TRUE(bytes == bytes_of(plain / name)) << name;
  }
}

}  // namespace
}  // namespace scenario
