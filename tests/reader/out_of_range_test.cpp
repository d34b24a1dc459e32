// The out-of-range warning: a value outside the range its field stores
// intact is warned of on its own field, says what is stored instead, and
// changes nothing that is stored: the scenario equals the one read from the
// values the warning says are stored.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reader/read_sources.h"

namespace scenario {
namespace {

std::string line_with(const std::string& body) {
  return "[generale]\r\nlunghezza percorso, 20000\r\n[curve]\r\n" + body + "[fine]\r\n";
}
std::string train_with(const std::string& body) { return "[generale]\r\n" + body + "[fine]\r\n"; }

ReadResult read(const std::string& line_body, const std::string& train_body) {
  ReadOptions options = read_options("S", "T", 1);
  options.line_file = "S_linea.txt";
  options.train_file = "S_T-.txt";
  return read_sources(line_with(line_body), train_with(train_body), options);
}

struct StoredAs {
  std::string line;    // line-source records
  std::string train;   // train-source records
  int column;          // of the field at fault
  std::string detail;  // what the warning says
  std::string line_stored;  // the same records with the values the warning says are stored
  std::string train_stored;
};

TEST(OutOfRange, WarnsOnTheFieldAndStoresWhatItSays) {
  const StoredAs cases[] = {
      {"", "segnale, 10500, 1, 3, 0, 0, 0, 3, 0, 0, 0, 0\r\n", 32,
       "signal at 10500 m: dx is 3, but 0 to 2 are stored intact: the signal's cell stores it as dx 0 with sx 1 "
       "higher",
       "", "segnale, 10500, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0\r\n"},
      {"", "segnale, 10500, 1, 3, 0, 0, 0, 0, 12, 0, 0, 0\r\n", 35,
       "signal at 10500 m: d1 is 12, but 0 to 9 are stored intact: it is stored as d1 2 with s1 1 higher", "",
       "segnale, 10500, 1, 4, 0, 0, 0, 0, 2, 0, 0, 0\r\n"},
      {"", "segnale, 10500, 1, 3276, 0, 0, 0, 0, 8, 0, 0, 0\r\n", 20,
       "signal at 10500 m: s1 is 3276, but 0 to 3275 are stored intact: it is stored as s1 -3276 with d1 16 lower",
       "", "segnale, 10500, 1, -3276, 0, 0, 0, 0, -8, 0, 0, 0\r\n"},
      {"", "segnale, 10500, 2, 3, 0, 0, 0, 0, 0, 0, 0, 400\r\n", 44,
       "signal at 10500 m: tempo is 400, but 0 to 255 are stored intact: it is stored as tempo 144", "",
       "segnale, 10500, 2, 3, 0, 0, 0, 0, 0, 0, 0, 144\r\n"},
      {"", "rallentamento, 4000, 70000, 400, 1, 1, 0\r\n", 22,
       "slowdown at 4000 m: v is 70000, but -32768 to 32767 are stored intact: it is stored as v 4464", "",
       "rallentamento, 4000, 4464, 400, 1, 1, 0\r\n"},
      {"", "rallentamento, 4000, 30, 400, 1, 1, -32769\r\n", 37,
       "slowdown at 4000 m: d_v is -32769, but -32768 to 32767 are stored intact: it is stored as d_v 32767", "",
       "rallentamento, 4000, 30, 400, 1, 1, 32767\r\n"},
      {"", "stazione, 11000, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, 30, 7, 75, 0, X\r\n", 57,
       "station at 11000 m: minute is 75, but 0 to 59 are stored intact: its scheduled time is stored as 08:15:00",
       "", "stazione, 11000, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, 30, 8, 15, 0, X\r\n"},
      {"", "stazione, 11000, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, 30, 11, 5, 60, X\r\n", 61,
       "station at 11000 m: second is 60, but 0 to 59 are stored intact: its scheduled time is stored as 11:06:00",
       "", "stazione, 11000, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, 30, 11, 6, 0, X\r\n"},
      {"indicatori_vmax, 7700, 100, 100, 110, 2, 500, 100, 110, 2\r\n", "", 42,
       "speed board at 7700 m: vad is 500, but 0 to 495 are stored intact: it is stored as vad 0 with vas 5 higher",
       "indicatori_vmax, 7700, 105, 100, 110, 2, 0, 100, 110, 2\r\n", ""},
      {"indicatori_vmax, 7700, 100, 100, 110, 1, 100, 100, 110, 12\r\n", "", 57,
       "speed board at 7700 m: strisced is 12, but 0 to 9 are stored intact: it is stored as strisced 2 with "
       "strisces 1 higher",
       "indicatori_vmax, 7700, 100, 100, 110, 2, 100, 100, 110, 2\r\n", ""},
      {"montagna, 3000, 3400, 300\r\n", "", 23,
       "tunnel from 3000 m to 3400 m: tipo is 300, but 0 to 265 are stored intact: it is stored as tipo 44",
       "montagna, 3000, 3400, 44\r\n", ""},
  };
  for (const StoredAs& c : cases) {
    const ReadResult warned = read(c.line, c.train);
    ASSERT_EQ(warned.report.diagnostics.size(), 1u) << c.detail;
    const Diagnostic& warning = warned.report.diagnostics.front();
    EXPECT_EQ(warning.severity, Severity::kWarning);
    EXPECT_EQ(warning.name, "out-of-range");
    EXPECT_EQ(warning.site.line, 4 - (c.line.empty() ? 2 : 0)) << c.detail;
    EXPECT_EQ(warning.site.column, c.column) << c.detail;
    EXPECT_EQ(warning.site.detail, c.detail);
    const ReadResult stored = read(c.line_stored, c.train_stored);
    EXPECT_TRUE(stored.scenario == warned.scenario) << c.detail;
  }
}

// The signal's own cell packs sx x 3 + dx beside rapp, so an sx of 3 runs
// into rapp; the approach cells keep the digit whole and say 101 to 104.
TEST(OutOfRange, AnSxOfThreeIsStillPackedAsTheFormatPacksIt) {
  const ReadResult read_back = read("", "segnale, 10500, 3, 3, 0, 0, 0, 1, 0, 0, 0, 0\r\n");
  ASSERT_EQ(read_back.report.diagnostics.size(), 1u);
  EXPECT_EQ(read_back.report.diagnostics.front().site.detail,
            "signal at 10500 m: sx is 3, but 0 to 2 are stored intact: the signal's cell stores it as sx 0 with "
            "rapp 1 higher and dx 1 lower");
  const Cells& cells = read_back.scenario.cells;
  EXPECT_EQ(cells[211].p4, 10);  // rapp 0 x 10 + sx 3 x 3 + dx 1
  EXPECT_EQ(cells[209].approach, 101);
  EXPECT_EQ(cells[203].approach, 104);
}

// The clock's three numbers are stored as written; the warning says what
// time they stand for.
TEST(OutOfRange, AClockMinuteOfSeventyFiveIsStoredAsWritten) {
  const ReadResult read_back = read("", "orologio, 7 75 0\r\n");
  ASSERT_EQ(read_back.report.diagnostics.size(), 1u);
  EXPECT_EQ(read_back.report.diagnostics.front().site.column, 13);
  EXPECT_EQ(read_back.report.diagnostics.front().site.detail,
            "start clock: minute is 75, but 0 to 59 are stored intact: it is stored as 07:75:00, which is 08:15:00");
  const Entry& train = read_back.scenario.entries[kTrainRow];
  EXPECT_EQ(train.short3, 7);
  EXPECT_EQ(train.short4, 75);
  EXPECT_EQ(train.short5, 0);
}

// What the warning cannot see stored otherwise: a tunnel that follows the
// previous one closely takes kind 3 whatever its tipo, and a signal without
// sx 2 stores no tempo.
TEST(OutOfRange, NoWarningWhereTheValueIsNotStored) {
  EXPECT_TRUE(read("montagna, 3000, 3400, 2\r\nmontagna, 3500, 3900, 300\r\n", "").report.diagnostics.empty());
  EXPECT_TRUE(read("", "segnale, 10500, 1, 3, 0, 0, 0, 0, 0, 0, 0, 400\r\n").report.diagnostics.empty());
}

}  // namespace
}  // namespace scenario
