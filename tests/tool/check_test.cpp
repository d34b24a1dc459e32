// scenario check and the lists scenario compile prints, as an author sees
// them on the terminal.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "model/error_codes.h"
#include "model/run_files.h"
#include "support/fuzz_corpus.h"
#include "tool/diagnostic_list.h"
#include "tool/tool_run.h"

namespace scenario {
namespace {

using testing::line_with;
using testing::Outcome;
using testing::scenario_tool;
using testing::TempDir;
using testing::train_with;
using testing::write_sources;

constexpr const char* kShortLine = "[generale]\r\nlunghezza percorso, 20000\r\n[fine]\r\n";
constexpr const char* kEmptyTrain = "[generale]\r\n[fine]\r\n";

// check, run in the directory of the sources: paths are the file names.
Outcome check_in(const TempDir& dir, const std::vector<std::string>& options = {}) {
  std::vector<std::string> arguments = {"check"};
  arguments.insert(arguments.end(), options.begin(), options.end());
  arguments.insert(arguments.end(), {"S", "T"});
  return scenario_tool(arguments, dir.path());
}

struct Mistake {
  const char* what;
  std::string line;
  std::string train;
  std::string message;
};

TEST(CheckMessages, EachMistakeIsNamedOnItsRecordInTheAuthorsWords) {
  const Mistake mistakes[] = {
      {"a signal with a number missing", kShortLine,
       train_with("segnale, 10500, 1, 3, 0, 0, 0, 0, 0, 0, 0\r\nsegnale, 12500, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0\r\n"),
       "S_T-.txt:2:42: error: the signal record on line 2 has 10 of its 11 numbers; line 3 begins the next "
       "record [E25]\n"
       "segnale, 10500, 1, 3, 0, 0, 0, 0, 0, 0, 0\n"
       "                                         ^\n"},
      {"a negative speed limit, written only when the next one arrives", kShortLine,
       train_with("velocita, 0, 100\r\nvelocita, 500, -140\r\nvelocita, 1000, 90\r\n"),
       "S_T-.txt:3:16: error: speed limit -140 km/h does not fit a cell: it may run from 0 to 1275 km/h [E25]\n"
       "velocita, 500, -140\n"
       "               ^\n"},
      {"a gradient too steep", line_with("pendenza, 0, 200\r\n"), kEmptyTrain,
       "S_linea.txt:4:14: error: gradient 200 \u2030 does not fit a cell: it may run from -100 to 155 \u2030 [E25]\n"
       "pendenza, 0, 200\n"
       "             ^\n"},
      {"a station off the cells", kShortLine,
       train_with("stazione, 10025, 12, 400, 0,0,0, 0,0,0, 0,0,0, 0, 11,5,0, X\r\n"),
       "S_T-.txt:2:11: error: station at 10025 m: position is not a multiple of 50 m [E8]\n"
       "stazione, 10025, 12, 400, 0,0,0, 0,0,0, 0,0,0, 0, 11,5,0, X\n"
       "          ^\n"},
      {"a progressive offset measured to the metre",
       "[generale]\r\nlunghezza percorso, 20000\r\nprogressiva chilometrica uno, 0, 35020, 1\r\n[fine]\r\n",
       kEmptyTrain,
       "S_linea.txt:3:34: error: kilometric progressive system in row 81 starts at 0 m with offset 35020 m: both "
       "must be multiples of 50 m [E2]\n"
       "progressiva chilometrica uno, 0, 35020, 1\n"
       "                                 ^\n"},
      {"a letter in a number, with an escape and a Windows-1252 degree sign on the line",
       line_with("montagna, 3000, 3x00, 1 \x1b \xB0\r\n"), kEmptyTrain,
       "S_linea.txt:4:17: error: expected a number, found \"3x00\" [E25]\n"
       "montagna, 3000, 3x00, 1 \\x1b \u00B0\n"
       "                ^\n"},
      {"a misspelt curve class", line_with("curva sx, 1000, 200\r\n"), kEmptyTrain,
       "S_linea.txt:4:1: error: curve at 1000 m: keyword \"curva sx\" holds no class digit 1 to 6 [E103]\n"
       "curva sx, 1000, 200\n"
       "^\n"},
  };
  for (const Mistake& mistake : mistakes) {
    TempDir dir;
    write_sources(dir, mistake.line, mistake.train);
    const Outcome outcome = check_in(dir);
    EXPECT_EQ(outcome.status, 1) << mistake.what;
    EXPECT_EQ(outcome.out, "") << mistake.what;
    EXPECT_EQ(outcome.err, mistake.message + "1 error\n") << mistake.what;
  }
}

// A number of a million digits once made a message of two megabytes.
TEST(CheckMessages, NoSourceMakesALongMessage) {
  TempDir dir;
  write_sources(dir, "[generale]\r\nlunghezza percorso, " + std::string(1000000, '7') + "\r\n[fine]\r\n", kEmptyTrain);
  const Outcome outcome = check_in(dir);
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err.rfind("S_linea.txt:2:21: error: number \"" + std::string(40, '7') +
                                  "...\" does not fit 32 bits [E25]\n",
                              0),
            0u)
      << outcome.err.substr(0, 300);
  EXPECT_LT(outcome.err.size(), 600u);
}

// Independent mistakes in both sources are all listed, line source first; the
// files are read and nothing is written.
TEST(Check, ListsEveryIndependentErrorOfBothSources) {
  TempDir dir;
  write_sources(dir,
                line_with("indicatori_vmax, 1000, 100,100,100,0, 100,100,100,0\r\n"
                          "indicatori_vmax, 1000, 100,100,100,0, 100,100,100,0\r\n"
                          "montagna, 3000, 3x00, 1\r\n"
                          "pendenza, 5000, 2\r\n"),
                train_with("segnale, 10500, 1, 3, 0, 0, 0, 0, 0, 0, 0\r\n"
                           "segnale, 12500, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0\r\n"
                           "segnale, 12500, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0\r\n"
                           "stazione, 10025, 12, 400, 0,0,0, 0,0,0, 0,0,0, 0, 11,5,0, X\r\n"));
  const std::set<std::string> before = testing::names_in(dir.path());
  // The path as the author gave it, relative to where the tool runs.
  const Outcome outcome =
      scenario_tool({"check", "--dir", dir.path().filename().string(), "S", "T"}, dir.path().parent_path());
  EXPECT_EQ(outcome.status, 1);
  const std::string prefix = dir.path().filename().string() + "/";
  std::vector<std::string> headlines;
  for (size_t at = 0; at < outcome.err.size();) {
    const size_t end = outcome.err.find('\n', at);
    const std::string line = outcome.err.substr(at, end - at);
    // The place and the tag: "S_linea.txt:5:18 [E21]"; a note's place alone.
    if (line.starts_with(prefix) && line.find(": note: ") != std::string::npos) {
      headlines.push_back(line.substr(prefix.size(), line.find(": ") - prefix.size()) + " note");
    } else if (line.starts_with(prefix)) {
      headlines.push_back(line.substr(prefix.size(), line.find(": ") - prefix.size()) + line.substr(line.rfind(" [")));
    }
    at = end + 1;
  }
  EXPECT_EQ(headlines, (std::vector<std::string>{
                           "S_linea.txt:5:18 [E21]",
                           "S_linea.txt:4:18 note",  // the board already in the cell
                           "S_linea.txt:6:17 [E25]",
                           "S_T-.txt:2:42 [E25]",
                           "S_T-.txt:4:10 [E16]",
                           "S_T-.txt:3:10 note",  // the signal already in the cell
                           "S_T-.txt:5:11 [E8]",
                       }))
      << outcome.err;
  EXPECT_EQ(testing::names_in(dir.path()), before);
}

// Positions beyond one route length are one mistake: the first is listed,
// with how many more and where, and the row that set the length as its note.
TEST(Check, ErrorsOfOneRouteLengthAreFoldedIntoOne) {
  TempDir dir;
  write_sources(dir, kShortLine,
                train_with("velocita, 0, 100\r\nvelocita, 26950, 90\r\nsegnale, 30000, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0\r\n"
                           "abbattimento, 40000, 80\r\n"));
  const Outcome outcome = check_in(dir);
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err,
            "S_T-.txt:3:11: error: speed limit at 26950 m lies beyond the grid: positions reach 26900 m at most "
            "(last cell 540); 2 more lie beyond the same route length, on S_T-.txt:4, S_T-.txt:5 [E15]\n"
            "velocita, 26950, 90\n"
            "          ^\n"
            "S_linea.txt:2:21: note: the route length is set here to 20000 m\n"
            "lunghezza percorso, 20000\n"
            "                    ^\n"
            "1 error\n");
}

TEST(Check, PastFiftyErrorsSaysHowManyMore) {
  std::string stations;
  for (int i = 0; i < 60; ++i) stations += "stazione, 10025, 12, 400, 0,0,0, 0,0,0, 0,0,0, 0, 11,5,0, X\r\n";
  TempDir dir;
  write_sources(dir, kShortLine, train_with(stations));
  const Outcome outcome = check_in(dir);
  EXPECT_EQ(outcome.status, 1);
  size_t shown = 0;
  for (size_t at = outcome.err.find(" [E8]\n"); at != std::string::npos; at = outcome.err.find(" [E8]\n", at + 1)) {
    ++shown;
  }
  EXPECT_EQ(shown, tool::kShownErrors);
  EXPECT_TRUE(outcome.err.ends_with("... and 10 more errors\n60 errors\n")) << outcome.err.substr(outcome.err.size() - 200);
}

// Warnings are capped by name as errors are: a source full of one mistake
// does not bury the others, and the count still counts them all.
TEST(Check, PastFiftyWarningsOfANameSaysHowManyMore) {
  std::string records;
  for (int i = 0; i < 60; ++i) records += "segnlae, 10500\r\n";
  records += "velocita, 0, 120\r\nvelocita, 0, 120\r\n";
  TempDir dir;
  write_sources(dir, kShortLine, train_with(records));
  const Outcome outcome = check_in(dir);
  EXPECT_EQ(outcome.status, 0);
  const struct {
    std::string tag;
    size_t shown;
  } cases[] = {{"skipped [unknown-record]\n", tool::kShownWarningsOfAName}, {" [fill-not-past]\n", 1}};
  for (const auto& c : cases) {
    size_t shown = 0;
    for (size_t at = outcome.err.find(c.tag); at != std::string::npos; at = outcome.err.find(c.tag, at + 1)) ++shown;
    EXPECT_EQ(shown, c.shown) << c.tag;
  }
  EXPECT_NE(outcome.err.find("... and 10 more warnings [unknown-record]\n"), std::string::npos) << outcome.err;
  EXPECT_TRUE(outcome.err.ends_with("no error, 61 warnings\n")) << outcome.err.substr(outcome.err.size() - 200);
}

TEST(Check, CleanSourcesPassAndTheCompilersOwnChecksRun) {
  TempDir dir;
  write_sources(dir, kShortLine, kEmptyTrain);
  const Outcome clean = check_in(dir);
  EXPECT_EQ(clean.status, 0);
  EXPECT_EQ(clean.out, "");
  EXPECT_EQ(clean.err,
            "S_linea.txt, S_T-.txt: 20 km, no station, no signal, no speed board, no indication board, no tunnel, "
            "no slowdown: no error, no warning\n");
  EXPECT_EQ(testing::names_in(dir.path()), (std::set<std::string>{"S_linea.txt", "S_T-.txt"}));

  // A speed board at 0 m takes the reserved cell 1.
  write_sources(dir, line_with("indicatori_vmax, 0, 100,100,100,0, 100,100,100,0\r\n"), kEmptyTrain);
  const Outcome taken = check_in(dir);
  EXPECT_EQ(taken.status, 1);
  EXPECT_EQ(taken.err.rfind("S_linea.txt:4:1: error: cell 1 already holds a maximum-speed board", 0), 0u)
      << taken.err;
}

// The reader's error is the real cause; the compiler's fatal one follows it.
TEST(CompileList, ReaderErrorComesBeforeTheReservedPlaceTaken) {
  TempDir dir;
  write_sources(dir, line_with("indicatori_vmax, 0, 100,100,100,0, 100,100,100,0\r\n"),
                train_with("stazione, 10025, 12, 400, 0,0,0, 0,0,0, 0,0,0, 0, 11,5,0, X\r\n"
                           "stazione, 20025, 12, 400, 0,0,0, 0,0,0, 0,0,0, 0, 11,5,0, X\r\n"));
  const Outcome outcome = scenario_tool({"compile", "S", "T"}, dir.path());
  EXPECT_EQ(outcome.status, 1);
  const std::string off_grid = ": error: station at 20025 m: position is not a multiple of 50 m [E8]\n";
  const size_t first = outcome.err.find("S_T-.txt:2:11: error: station at 10025 m: position is not a multiple of 50 m [E8]\n");
  const size_t second = outcome.err.find("S_T-.txt:3:11" + off_grid);
  const size_t fatal = outcome.err.find("S_linea.txt:4:1: error: cell 1 already holds");
  EXPECT_NE(first, std::string::npos) << outcome.err;
  EXPECT_LT(first, second) << outcome.err;
  EXPECT_LT(second, fatal) << outcome.err;
  EXPECT_NE(fatal, std::string::npos) << outcome.err;
  EXPECT_NE(outcome.err.find("[E1250]\n", fatal), std::string::npos) << outcome.err;
  EXPECT_TRUE(outcome.err.ends_with("\n3 errors\n")) << outcome.err;
  EXPECT_EQ(testing::names_in(dir.path()), (std::set<std::string>{"S_linea.txt", "S_T-.txt"}));
}

TEST(CompileList, TextTooLongNamesItsRecord) {
  TempDir dir;
  write_sources(dir, "[generale]\r\nlunghezza percorso, 20000\r\n[indicazioni]\r\ncartello_indicatore, 7150, " +
                         std::string(40000, 'X') + "\r\n[fine]\r\n",
                kEmptyTrain);
  const Outcome outcome = scenario_tool({"compile", "S", "T"}, dir.path());
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err.rfind("S_linea.txt:4:28: error: a text of 40000 bytes is longer than a record can hold", 0),
            0u)
      << outcome.err.substr(0, 200);
  EXPECT_LT(outcome.err.size(), 600u);
}

// The compiler's own errors: 1250, 1251, and a text too long to store, which
// has no number.
bool compilers_error(const std::string& headline) {
  return headline.ends_with(" [E1250]") || headline.ends_with(" [E1251]") ||
         (headline.find("error: ") != std::string::npos && !headline.ends_with("]"));
}

// What compile prints of the reading, without the compiler's own errors,
// which check gives only for a scenario read without error, without the
// count of errors not shown and without the closing line (the counts, which
// take in the compiler's errors, or what check read).
std::vector<std::string> reader_blocks(const std::string& printed) {
  const std::string listed = printed.empty() ? printed : printed.substr(0, printed.rfind('\n', printed.size() - 2) + 1);
  std::vector<std::string> blocks;
  size_t at = 0;
  while (at < listed.size()) {
    size_t end = listed.find("\nS_", at);
    end = end == std::string::npos ? listed.size() : end + 1;
    const std::string block = listed.substr(at, end - at);
    if (!compilers_error(block.substr(0, block.find('\n')))) blocks.push_back(block.substr(0, block.find("\n... and ")));
    at = end;
  }
  return blocks;
}

// The kept fuzz corpus, each input split into its two sources, through the
// tool: check and compile list the same diagnostics of the reading. Every
// eighth input: two processes an input, and a compile that writes waits for
// its files to reach the disk (the reading itself is held to the whole
// corpus in-process, by the reader's own tests).
TEST(CheckAndCompile, ListTheSameDiagnosticsOfTheReading) {
  const auto inputs = testing::corpus_inputs(PROJECT_SOURCE_DIR "/fuzz/corpus/memorizza_dati");
  ASSERT_GT(inputs.size(), 100u);
  for (size_t i = 0; i < inputs.size(); i += 8) {
    const std::filesystem::path& path = inputs[i];
    const auto [line, train] = testing::corpus_sources(*testing::bytes_of(path));
    TempDir dir;
    write_sources(dir, line, train);
    const Outcome checked = check_in(dir);
    const Outcome compiled = scenario_tool({"compile", "S", "T"}, dir.path());
    EXPECT_EQ(reader_blocks(compiled.err), reader_blocks(checked.err)) << path.filename();
    EXPECT_EQ(compiled.status, checked.status) << path.filename();
  }
}

}  // namespace
}  // namespace scenario
