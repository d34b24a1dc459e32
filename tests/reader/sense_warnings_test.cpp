// The warnings about records that read without an error but most likely not
// as their author meant: each on its line and field, none where the source
// says what it means, and none changing what is read.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "reader/line_source.h"
#include "reader/misplaced_records.h"
#include "reader/read_sources.h"
#include "reader/train_source.h"

namespace scenario {
namespace {

constexpr char kLineFile[] = "S_linea.txt";
constexpr char kTrainFile[] = "S_T-.txt";

ReadOptions options(int32_t write_trace = 1) {
  ReadOptions read = read_options("S", "T", write_trace);
  read.line_file = kLineFile;
  read.train_file = kTrainFile;
  read.recover = true;
  return read;
}

// A route of 20000 m whose track records begin on line 4, and a train source
// whose records begin on line 2.
std::string line_with(const std::string& records) {
  return "[generale]\r\nlunghezza percorso, 20000\r\n[curve]\r\n" + records + "[fine]\r\n";
}
std::string train_with(const std::string& records) { return "[generale]\r\n" + records + "[fine]\r\n"; }
const std::string kNoTrack = line_with("");
std::string repeated(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}
const std::string kNoTrain = train_with("");

// Each warning as "name@line:column", the train source's after the line
// source's.
std::vector<std::string> warnings_of(const ReadReport& report) {
  std::vector<std::string> found;
  for (const Diagnostic& d : report.diagnostics) {
    if (d.severity != Severity::kWarning) continue;
    const std::string file = d.site.file == kTrainFile ? "T" : "L";
    found.push_back(d.name + "@" + file + std::to_string(d.site.line) + ":" + std::to_string(d.site.column));
  }
  return found;
}

struct Mistake {
  std::string what;
  std::string line;
  std::string train;
  std::vector<std::string> warnings;
  // The sources without the mistake, where they read into the same scenario.
  std::string meant_line;
  std::string meant_train;
};

const std::string kOrigin = "stazione, 0, 11, 600, 1, 0, 0, 4,1,0, 2,1,1, 1, 11,40, 0, DORVALLO\r\n";

TEST(SenseWarnings, EachMistakeIsWarnedOnItsField) {
  const Mistake mistakes[] = {
      {"a number too many", kNoTrack, train_with("velocita, 0, 100\r\nvelocita, 800, 100, 110\r\n"),
       {"extra-fields@T3:21"}, kNoTrack, train_with("velocita, 0, 100\r\nvelocita, 800, 100\r\n")},
      {"a decimal comma", line_with("pendenza, 0, 0\r\npendenza, 13000, -6,5\r\n"), kNoTrain, {"extra-fields@L5:21"},
       line_with("pendenza, 0, 0\r\npendenza, 13000, -6\r\n"), kNoTrain},
      {"a general row with a number too many", "[generale]\r\nlunghezza percorso, 20000, 5\r\n[curve]\r\n[fine]\r\n",
       kNoTrain, {"extra-fields@L2:28"}, kNoTrack, kNoTrain},
      {"a thousands separator in a length", "[generale]\r\nlunghezza percorso, 22 000\r\n[curve]\r\n[fine]\r\n",
       kNoTrain, {"digit-group@L2:21"}, "[generale]\r\nlunghezza percorso, 22\r\n[curve]\r\n[fine]\r\n", kNoTrain},
      {"a thousands separator shifting the fields", kNoTrack, train_with("velocita, 14 000, 100\r\n"),
       {"digit-group@T2:11", "moved-to-cell@T2:11"}, kNoTrack, train_with("velocita, 14, 0\r\n")},
      {"a thousands separator in the last number", line_with("pendenza, 2000, 1 000\r\n"), kNoTrain,
       {"digit-group@L4:17"}, line_with("pendenza, 2000, 1\r\n"), kNoTrain},
      {"a thousands separator read whole by the record", line_with("montagna, 3000, 3 050\r\n"), kNoTrain,
       {"digit-group@L4:17", "reversed-tunnel@L4:17"}, line_with("montagna, 3000, 3, 50\r\n"), kNoTrain},
      {"a station name cut at a comma", kNoTrack, train_with(kOrigin + "stazione, 6000, 21, 300, 0, 0, 0, 1,1,0, "
                                                                        "4,1,1, 30, 11,45, 0, PIEVE, SALINA\r\n"),
       {"text-cut@T3:63"}, kNoTrack,
       train_with(kOrigin + "stazione, 6000, 21, 300, 0, 0, 0, 1,1,0, 4,1,1, 30, 11,45, 0, PIEVE\r\n")},
      {"a board text cut at a comma", line_with("cartello_indicatore, 7150, PONTE, NORD\r\n"), kNoTrain,
       {"text-cut@L4:28"}, line_with("cartello_indicatore, 7150, PONTE\r\n"), kNoTrain},
      {"a curve keyword written out", line_with("curva destra 4, 1000, 400\r\n"), kNoTrain, {"curve-keyword@L4:1"},
       line_with("curvas4, 1000, 400\r\n"), kNoTrain},
      {"a number run into a curve keyword", line_with("curvad1000, 2000, 300\r\n"), kNoTrain, {"curve-keyword@L4:1"},
       line_with("curvad1, 2000, 300\r\n"), kNoTrain},
      {"a curve without its side letter", line_with("curva4, 2000, 300\r\n"), kNoTrain, {"curve-keyword@L4:1"},
       line_with("curvad4, 2000, 300\r\n"), kNoTrain},
      {"a curve of length 0", line_with("curvad4, 1000, 0\r\n"), kNoTrain, {"empty-curve@L4:16"}, "", ""},
      {"a tunnel of kind 0", line_with("montagna, 3000, 3400, 0\r\n"), kNoTrain, {"open-air-tunnel@L4:23"}, "", ""},
      {"a tunnel of a kind whose low bits are 0: said as out of its range", line_with("montagna, 3000, 3400, 266\r\n"),
       kNoTrain, {"out-of-range@L4:23"}, "", ""},
      {"a slowdown faster than the line", kNoTrack,
       train_with("velocita, 0, 100\r\nrallentamento, 4000, 150, 400, 1, 0, 0\r\n"), {"fast-slowdown@T3:22"}, "", ""},
      {"a slowdown before the speed limits it outruns", kNoTrack,
       train_with("rallentamento, 4000, 150, 400, 1, 0, 0\r\nvelocita, 0, 100\r\n"), {"fast-slowdown@T2:22"}, "", ""},
      {"a slowdown's speed and length swapped", kNoTrack,
       train_with("velocita, 0, 100\r\nrallentamento, 4000, 500, 50, 1, 0, 0\r\n"), {"swapped-slowdown@T3:22"}, "",
       ""},
      {"a station timed before the one before it", kNoTrack,
       train_with(kOrigin + "stazione, 6000, 21, 300, 0, 0, 0, 1,1,0, 4,1,1, 30, 11,04, 0, PIEVE\r\n"),
       {"time-backwards@T3:53"}, "", ""},
      {"a station after the signal in its stop cell", kNoTrack,
       train_with("segnale, 6050, 1, 3, 0, 0, 0, 0, 0,0,0, 0\r\n" + kOrigin +
                  "stazione, 6000, 21, 300, 0, 0, 0, 1,1,0, 4,1,1, 30, 11,45, 0, PIEVE\r\n"),
       {"displaced-object@T4:11"}, "", ""},
      {"a station on a speed board's cell", line_with("indicatori_vmax, 6050, 100, 100, 110, 0, 100, 100, 110, 0\r\n"),
       train_with(kOrigin + "stazione, 6000, 21, 300, 0, 0, 0, 1,1,0, 4,1,1, 30, 11,45, 0, PIEVE\r\n"),
       {"displaced-object@T3:11"}, "", ""},
      {"a signal with no values at 0 m", kNoTrack, train_with("segnale, 0, 1, 0, 0, 0, 0, 0, 0,0,0, 0\r\n"),
       {"reserved-cell@T2:1"}, "", ""},
      {"a gradient in the general section", "[generale]\r\nlunghezza percorso, 20000\r\npendenza, 1000, 2\r\n[curve]\r\n"
                                            "[fine]\r\n",
       kNoTrain, {"wrong-section@L3:1"}, kNoTrack, kNoTrain},
      {"a general row among the track records", line_with("lunghezza percorso, 30000\r\n"), kNoTrain,
       {"wrong-section@L4:1"}, kNoTrack, kNoTrain},
      {"a train record in the line source", line_with("velocita, 0, 100\r\n"), kNoTrain, {"wrong-section@L4:1"},
       kNoTrack, kNoTrain},
      {"a line record in the train source", kNoTrack, train_with("curvad4, 1000, 400\r\n"), {"wrong-section@T2:1"},
       kNoTrack, kNoTrain},
      {"a general row in capitals", "[generale]\r\nlunghezza percorso, 20000\r\nProgressiva Chilometrica Uno, 0, "
                                    "1000, 0\r\n[curve]\r\n[fine]\r\n",
       kNoTrain, {"keyword-case@L3:1"}, kNoTrack, kNoTrain},
      {"a route length given twice", "[generale]\r\nlunghezza percorso, 30000\r\nlunghezza percorso, 20000\r\n"
                                     "[curve]\r\n[fine]\r\n",
       kNoTrain, {"repeated-row@L3:1"}, kNoTrack, kNoTrain},
      {"a train row given twice", kNoTrack, train_with("numero vetture, 3\r\nnumero vetture, 4\r\n"),
       {"repeated-row@T3:1"}, kNoTrack, train_with("numero vetture, 4\r\n")},
      {"a third comment line", kNoTrack, train_with("- uno\r\n- due\r\n- tre\r\nvetture, 4\r\n"),
       {"comment-limit@T4:1"}, kNoTrack, train_with("vetture, 4\r\n")},
      {"an eleventh comment in the general section",
       "[generale]\r\n" + repeated("--\r\n", 11) +
           "lunghezza percorso, 20000\r\n"
       "[curve]\r\n[fine]\r\n",
       kNoTrain, {"comment-limit@L12:1"}, kNoTrack, kNoTrain},
  };
  for (const Mistake& mistake : mistakes) {
    const ReadResult read = read_sources(mistake.line, mistake.train, options());
    EXPECT_EQ(warnings_of(read.report), mistake.warnings) << mistake.what;
    if (mistake.meant_line.empty()) continue;
    const ReadResult meant = read_sources(mistake.meant_line, mistake.meant_train, options());
    EXPECT_TRUE(read.scenario == meant.scenario) << mistake.what;
    EXPECT_EQ(read.report.error_code(), meant.report.error_code()) << mistake.what;
  }
}

// Sources that say what they mean: no warning.
TEST(SenseWarnings, NoneWhereTheSourceSaysWhatItMeans) {
  const std::string station = "stazione, 6000, 21, 300, 0, 0, 0, 1,1,0, 4,1,1, 30, 11,45, 0, ";
  const std::vector<std::string> trains = {
      "velocita, 0, 60,\r\n",                                        // a comma after the last number
      "velocita, 0, 60, -- km/h\r\n",                                // a comment after it
      "velocita, 0, 60, velocita, 1300, 140\r\n",                    // two records on one line
      "velocita, 0, 60\r\nvelocita, 900 100\r\n",                    // numbers apart by a blank
      "aderenza, 0 100\r\n",                                         // a 0 is no thousands
      "orologio, 8 15 0\r\n",                                        // the clock's own form
      kOrigin + station + "\"PIEVE, SALINA\"\r\n",                   // a comma in quotes
      kOrigin + station + "PIEVE, -- fermata a richiesta\r\n",       // a comment after a name
      kOrigin + station + "PIEVE\r\n" + "segnale, 6500, 1, 3, 0, 0, 0, 0, 0,0,0, 0\r\n",
      kOrigin + "stazione, 6000, 25, 300, 0, 0, 0, 0,0,0, 0,0,0, 0, 0,0, 0, BIVIO\r\n" +
          "stazione, 9000, 21, 300, 0, 0, 0, 1,1,0, 4,1,1, 30, 11,50, 0, PIEVE\r\n",  // a timing point has no time
      "stazione, 0, 11, 600, 1, 0, 0, 4,1,0, 2,1,1, 1, 23,50, 0, A\r\n"
      "stazione, 6000, 21, 300, 0, 0, 0, 1,1,0, 4,1,1, 30, 0,10, 0, B\r\n",  // past midnight
      "velocita, 0, 100\r\nrallentamento, 4000, 30, 400, 1, 1, 0\r\n",
      "rallentamento, 4000, 150, 400, 1, 0, 0\r\n",                  // no line speed to compare with
      "- uno\r\n- due\r\nvetture, 4\r\n- tre\r\n- quattro\r\nsabbia, 0\r\n",
      "- uno\r\n- due\r\n\r\n- tre\r\nvetture, 4\r\n",               // an empty line starts the count again
      "numero vetture, 4\r\npercentuale massa frenata, 110\r\n",
      "sabbia, 0\r\nsabbia, 99999\r\n",                            // a row refused replaces nothing
      "segnale, 50, 1, 0, 0, 0, 0, 0, 0,0,0, 0\r\n",                // cell 2
  };
  for (const std::string& records : trains) {
    const ReadResult read = read_sources(kNoTrack, train_with(records), options());
    EXPECT_EQ(warnings_of(read.report), std::vector<std::string>{}) << records;
  }
  const std::vector<std::string> tracks = {
      "pendenza, 0, 0\r\npendenza, 6000, -3, -- discesa\r\n",
      "curvas4, 1000, 400\r\nCURVAD3, 2000, 300\r\ncurva s 2, 3000, 200\r\n",
      "montagna, 3000, 3400, 12\r\nmontagna, 7000, 7050, 2\r\n",
      "montagna, 3000, 3400, 2\r\nmontagna, 3500, 3600, 0\r\n",  // kind 3 after a tunnel 150 m or less before
      "cartello_indicatore, 7150, \"(PONTE, )(RIO)\"\r\n",
      "indicatori_vmax, 900, 100, 100, 110, 0, 100, 100, 110, 0\r\npendenza, 0, 0, [pendenze]\r\n",
  };
  for (const std::string& records : tracks) {
    const ReadResult read = read_sources(line_with(records), kNoTrain, options());
    EXPECT_EQ(warnings_of(read.report), std::vector<std::string>{}) << records;
  }
  // Without the plan trace a curve's numbers are left unread, and no field
  // of them is over.
  const ReadResult untraced = read_sources(line_with("curvad4, 1000, 400\r\n"), kNoTrain, options(0));
  EXPECT_EQ(warnings_of(untraced.report), std::vector<std::string>{});
}

struct Message {
  std::string line;
  std::string train;
  std::string detail;
};

// What each warning says leads to its cause.
TEST(SenseWarnings, SayWhatWasReadAndWhatWasMeant) {
  const Message messages[] = {
      {kNoTrack, train_with("velocita, 0, 100\r\nvelocita, 800, 100, 110\r\n"),
       "the speed limit record takes 2 numbers; \"110\" after them is ignored"},
      {line_with("pendenza, 0, 0\r\npendenza, 13000, -6,5\r\n"), kNoTrain,
       "the gradient record takes 2 numbers; \"5\" after them is ignored: a number has no decimal comma, and "
       "\"-6,5\" reads as -6"},
      {kNoTrack, train_with("velocita, 14 000, 100\r\n"),
       "\"14 000\" reads as 2 numbers, 14 and 000: a number takes no thousands separator; did you mean 14000?"},
      {"[generale]\r\nlunghezza percorso, 1 000 000\r\n[curve]\r\n[fine]\r\n", kNoTrain,
       "\"1 000 000\" reads as 3 numbers, 1, 000 and 000: a number takes no thousands separator; did you mean "
       "1000000?"},
      {line_with("curva destra 4, 1000, 400\r\n"), kNoTrain,
       "curve keyword \"curva destra 4\" reads as a left curve of class 4: an \"s\" anywhere makes a curve turn left "
       "and the first of the digits 1 to 6 gives its class; write \"curvas4\" for a left curve or \"curvad4\" for a "
       "right one"},
      {line_with("montagna, 3000, 3400, 0\r\n"), kNoTrain,
       "tunnel from 3000 m to 3400 m is stored as kind 0, open air (its kind reads 0): none of its cells shows a "
       "tunnel; tunnel kinds are 1 to 10, or 11 to 20 with markers"},
      {kNoTrack, train_with("velocita, 0, 100\r\nrallentamento, 4000, 500, 50, 1, 0, 0\r\n"),
       "slowdown at 4000 m: speed 500 km/h and length 50 m look swapped (the line speed there is 100 km/h); the "
       "record reads start, speed, length"},
      {kNoTrack, train_with(kOrigin + "stazione, 6000, 21, 300, 0, 0, 0, 1,1,0, 4,1,1, 30, 11,04, 0, PIEVE\r\n"),
       "station \"PIEVE\" is timed 11:04:00, before 11:40:00 at \"DORVALLO\" on line 2, the station before it on "
       "the route"},
      {kNoTrack,
       train_with("segnale, 6050, 1, 3, 0, 0, 0, 0, 0,0,0, 0\r\nstazione, 6000, 21, 300, 0, 0, 0, 1,1,0, 4,1,1, "
                  "30, 11,45, 0, PIEVE\r\n"),
       "the stop mark of station \"PIEVE\" goes into cell 122 (6100 m to 6150 m) and replaces a signal, which is "
       "lost: write the stations before the other records, and such a clash is refused instead"},
      {"[generale]\r\nlunghezza percorso, 20000\r\npendenza, 1000, 2\r\n[curve]\r\n[fine]\r\n", kNoTrain,
       "\"pendenza\" belongs in the line source's [pendenze] section: the general section, up to its first "
       "heading, reads only its own rows; the line is skipped"},
      {line_with("velocita, 0, 100\r\n"), kNoTrain,
       "\"velocita\" belongs in the train source's [vel_limite] section: the line source has no such record; the "
       "line is skipped"},
      {"[generale]\r\nlunghezza percorso, 20000\r\nProgressiva Chilometrica Uno, 0, 1000, 0\r\n[curve]\r\n[fine]\r\n",
       kNoTrain,
       "\"Progressiva Chilometrica Uno\" starts no row: the words \"progressiva\" and \"uno\" are read in lower case "
       "only; write \"progressiva chilometrica uno\"; the line is skipped"},
      {"[generale]\r\nlunghezza percorso, 30000\r\nlunghezza percorso, 20000\r\n[curve]\r\n[fine]\r\n", kNoTrain,
       "\"lunghezza percorso\" is given again: this row replaces the one on line 2"},
      {kNoTrack, train_with("- uno\r\n- due\r\n- velocita ridotta\r\nvelocita, 0, 100\r\n"),
       "\"- velocita ridotta\" is the 3rd comment field in a row, and at most 2 in a row are skipped here: it is "
       "read as a record (an empty line between comments starts the count again)"},
  };
  for (const Message& message : messages) {
    const ReadResult read = read_sources(message.line, message.train, options());
    std::vector<std::string> details;
    for (const Diagnostic& d : read.report.diagnostics) {
      if (d.severity == Severity::kWarning) details.push_back(d.site.detail);
    }
    EXPECT_NE(std::find(details.begin(), details.end(), message.detail), details.end())
        << message.detail << "\n" << ::testing::PrintToString(details);
  }
}

// The sections a misplaced record is sent to are known for every record kind.
TEST(SenseWarnings, EveryRecordKindHasAHome) {
  for (const auto tests : {general_rows, track_records, train_records}) {
    for (const KeywordTest& test : tests()) {
      const std::optional<RecordHome> home = home_of(test);
      ASSERT_TRUE(home.has_value()) << test.layout.name;
      EXPECT_TRUE(home->heading.starts_with("[") && home->heading.ends_with("]")) << test.layout.name;
    }
  }
}

}  // namespace
}  // namespace scenario
