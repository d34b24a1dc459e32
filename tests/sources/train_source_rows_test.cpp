#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "model/numeric.h"
#include "sources/builtin_sources.h"
#include "support/table_lines.h"
#include "support/writer_check.h"

namespace scenario {
namespace {

using testing::lines_of;
using testing::numbers;
using testing::rows_with;

// The rows under one heading of the train source, and the rows of the line
// source that start with one keyword.
std::vector<std::string> section(std::string_view heading) { return testing::section(train_source_table(), heading); }
std::vector<std::string> line_rows(std::string_view keyword) { return rows_with(line_source_table(), keyword); }

// A station row: its 16 numbers and its name.
struct Station {
  std::vector<int> values;
  std::string name;
  int position() const { return values[0]; }
  int kind() const { return values[1]; }
  int length() const { return values[2]; }
  int end_extension() const { return values[5]; }
  int dwell() const { return values[12]; }
  int time() const { return values[13] * 60 + values[14]; }
  // The extent of every kind the service uses (none of 5 to 8).
  int extent_start() const { return position() - length() / 2; }
  int extent_end() const { return position() + length() / 2 + (end_extension() != 0 ? 50 : 0); }
};

std::vector<Station> stations() {
  std::vector<Station> found;
  for (const std::string& row : section("[stazioni]")) found.push_back({numbers(row), row.substr(row.rfind(", ") + 2)});
  return found;
}

TEST(TrainSource, HasItsSectionsInOrderWithTheirRowCounts) {
  const std::vector<std::string> lines = lines_of(train_source_table());
  ASSERT_EQ(lines.size(), 113u);
  EXPECT_EQ(lines.front(), "stazioni a 40700, 43700, 70050, 75850");
  const std::vector<std::pair<std::string, size_t>> expected = {
      {"[generale]", 4},      {"[aderenze]", 1}, {"[vel_limite]", 14}, {"[stazioni]", 24},
      {"[rallentamenti]", 0}, {"[segnali]", 61}, {"[codici]", 0},      {"[fine]", 0}};
  EXPECT_EQ(testing::section_sizes(train_source_table()), expected);
}

TEST(TrainSource, FixedRowsAreWrittenExactly) {
  const std::vector<std::string> general = {"numero vetture,    4", "percentuale massa frenata,    120", "sabbia,    0",
                                            "orologio,    10              55            30 "};
  EXPECT_EQ(section("[generale]"), general);
  EXPECT_EQ(section("[aderenze]"), std::vector<std::string>{"aderenza,   0,    100"});
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"[vel_limite]", "velocita,       0,    60"},
      {"[vel_limite]", "velocita,    1300,   140"},
      {"[vel_limite]", "velocita,  104000,    90"},
      {"[stazioni]", "stazione,       0, 11,  600,  1, 0, 0,  4,1,0,  2,1,1,    1,  10,57, 0, DORVALLO"},
      {"[stazioni]", "stazione,   11000, 12,  400,  0, 0, 0,  1,1,0,  4,1,1,   30,  11, 5, 0, VALTORNE"},
      {"[stazioni]", "stazione,   35000,  2,  700,  1, 1, 0,  4,1,1,  2,1,1,   30,  11,40, 0, VELSARA"},
      {"[stazioni]", "stazione,  115000,  2,  800,  1, 1, 0,  1,1,0,  2,1,1,    0,  12,59, 0, BRISENTE"},
      {"[segnali]", "segnale,    1500,   2, 4, 0,  0, 0,    2,  2,0,0, 0"},
      {"[segnali]", "segnale,   10500,   1, 3, 0,  0, 0,    0,  0,0,0, 0"},
      {"[segnali]", "segnale,   23700,   2, 6, 5,  0, 0,    2,  2,1,0, 0"},
      {"[segnali]", "segnale,   25200,   1, 2, 5,  6, 1,    1,  3,0,0, 0"},
  };
  for (const auto& [heading, row] : rows) EXPECT_TRUE(testing::has_row(train_source_table(), heading, row)) << row;
  const std::vector<std::string> signals = section("[segnali]");
  const auto pair = std::find(signals.begin(), signals.end(), rows[9].second);
  ASSERT_NE(pair, signals.end());
  EXPECT_EQ(*(pair + 1), rows[10].second);
}

TEST(TrainSource, NumbersSitInFixedWidthColumns) {
  struct Form {
    std::string heading;
    std::vector<size_t> widths;
    bool named;
  };
  const Form forms[] = {
      {"[vel_limite]", {8, 6}, false},
      {"[stazioni]", {8, 3, 5, 3, 2, 2, 3, 1, 1, 3, 1, 1, 5, 4, 2, 2}, true},
      {"[segnali]", {8, 4, 2, 2, 3, 2, 5, 3, 1, 1, 2}, false},
  };
  const std::regex number(R"( *-?\d+)");
  const std::regex name(R"( [A-Z][A-Z .\-]*[A-Z])");
  for (const Form& form : forms) {
    for (const std::string& row : section(form.heading)) {
      std::vector<std::string> fields;
      std::istringstream rest(row.substr(row.find(',') + 1));
      for (std::string field; std::getline(rest, field, ',');) fields.push_back(field);
      ASSERT_EQ(fields.size(), form.widths.size() + (form.named ? 1 : 0)) << row;
      for (size_t i = 0; i < form.widths.size(); ++i) {
        EXPECT_EQ(fields[i].size(), form.widths[i]) << row << " field " << i + 1;
        EXPECT_TRUE(std::regex_match(fields[i], number)) << row << " field " << i + 1;
      }
      if (form.named) {
        EXPECT_TRUE(std::regex_match(fields.back(), name)) << row;
      }
    }
  }
}

TEST(TrainSourceSpeedLimits, StandAtTheBoardsWhereTheLineSpeedChanges) {
  // The first limit holds from the origin; every later one is a 0-stripe board
  // of the line that changes the speed in force, with that board's vas.
  std::vector<std::vector<int>> expected = {{0, 60}};
  for (const std::string& board : line_rows("indicatori_vmax")) {
    const std::vector<int> values = numbers(board);
    if (values[4] == 0 && values[1] != expected.back()[1]) expected.push_back({values[0], values[1]});
  }
  std::vector<std::vector<int>> found;
  std::set<int> speeds;
  for (const std::string& row : section("[vel_limite]")) {
    found.push_back(numbers(row));
    speeds.insert(found.back()[1]);
  }
  EXPECT_EQ(found, expected);
  EXPECT_EQ(speeds, (std::set<int>{60, 90, 100, 120, 140}));
}

TEST(TrainSourceStations, KindsLengthsAndSettings) {
  const std::vector<Station> all = stations();
  ASSERT_EQ(all.size(), 24u);
  std::set<int> kinds;
  std::set<int> lengths;
  int timing_points = 0;
  for (size_t i = 0; i < all.size(); ++i) {
    const Station& station = all[i];
    kinds.insert(station.kind());
    lengths.insert(station.length());
    EXPECT_EQ(station.length() % 100, 0) << station.name;
    EXPECT_EQ(station.end_extension(), 0) << station.name;
    if (station.kind() == 25) {
      ++timing_points;
      EXPECT_EQ(station.position(), 40150);
      EXPECT_EQ(station.length(), 300);
      EXPECT_TRUE(std::all_of(station.values.begin() + 3, station.values.end(), [](int v) { return v == 0; }));
      continue;
    }
    const int dwell = i == 0 ? 1 : i + 1 == all.size() ? 0 : 30;
    EXPECT_EQ(station.dwell(), dwell) << station.name;
  }
  EXPECT_EQ(timing_points, 1);
  EXPECT_EQ(kinds, (std::set<int>{2, 11, 12, 21, 22, 25}));
  EXPECT_EQ(*lengths.begin(), 300);
  EXPECT_EQ(*lengths.rbegin(), 800);
}

TEST(TrainSourceStations, ComeInOrderWellApartAndOnTime) {
  const std::vector<Station> all = stations();
  ASSERT_FALSE(all.empty());
  EXPECT_EQ(all.front().name, "DORVALLO");
  EXPECT_EQ(all.back().name, "BRISENTE");
  int last_time = 0;
  for (size_t i = 0; i < all.size(); ++i) {
    EXPECT_EQ(all[i].position() % 50, 0) << all[i].name;
    if (i > 0) {
      EXPECT_GE(all[i].extent_start() - 350, all[i - 1].extent_end()) << all[i].name;
    }
    if (all[i].kind() == 25) continue;
    EXPECT_GT(all[i].time(), last_time) << all[i].name;
    last_time = all[i].time();
  }
}

TEST(TrainSourceSignals, PatternsAndSpacing) {
  std::map<std::string, int> patterns;
  int previous = 0;
  int block_spacing = 0;
  int gaps = 0;
  for (const std::string& row : section("[segnali]")) {
    const int position = numbers(row)[0];
    EXPECT_EQ(position % 50, 0) << row;
    EXPECT_GT(position, previous) << row;
    if (previous > 0) {
      ++gaps;
      if (position - previous == 1500) ++block_spacing;
    }
    previous = position;
    ++patterns[row.substr(row.find(',', row.find(',') + 1))];
  }
  EXPECT_EQ(previous, 113650);
  EXPECT_GT(2 * block_spacing, gaps);
  EXPECT_EQ(patterns.size(), 9u);
  EXPECT_EQ(patterns[",   2, 4, 0,  0, 0,    2,  2,0,0, 0"], 37);
  EXPECT_EQ(patterns[",   1, 3, 0,  0, 0,    0,  0,0,0, 0"], 12);
}

TEST(BuiltInScenario, EveryObjectHasACellOfItsOwn) {
  // What the readers place, in their order: boards at p / 50 + 1, then station
  // stop marks at the cell before the extent end (a stop mark overwrites
  // silently), then signals at p / 50 + 1. A shared cell would be a refused
  // record or a lost board; cell 1 is reserved for the fixed mark.
  const int route_length = numbers(line_rows("lunghezza percorso").at(0))[0];
  const int64_t last_cell = round_half_even((route_length + kRunOut) / double{kCellLength});
  std::map<int64_t, std::string> taken;
  const auto take = [&](int64_t cell, const std::string& what) {
    const auto [holder, fresh] = taken.emplace(cell, what);
    EXPECT_TRUE(fresh) << what << " lands on " << holder->second << " in cell " << cell;
    EXPECT_GT(cell, kReservedCell) << what;
    EXPECT_LE(cell, last_cell) << what;
  };
  const auto board_cell = [](int position) { return round_half_even(position / double{kCellLength} + 1); };
  for (const std::string keyword : {"indicatori_vmax", "cartello_indicatore"}) {
    for (const std::string& row : line_rows(keyword)) take(board_cell(numbers(row)[0]), row);
  }
  for (const Station& station : stations()) {
    EXPECT_LE((station.position() + 800) / double{kCellLength}, last_cell) << station.name;
    if (station.kind() < 25) take(station.extent_end() / kCellLength - 1, station.name);
  }
  for (const std::string& row : section("[segnali]")) {
    const int64_t cell = board_cell(numbers(row)[0]);
    take(cell, row);
    EXPECT_GE(cell - 8, 0) << row << ": its approach cells would fall off the grid";
  }
}

TEST(DatiTreno, WritesTheTableUnderTheScenarioAndTrainNames) {
  // An older, longer file of the same name leaves nothing behind.
  const std::string bytes = testing::written_over_older_file("Dorvallo_Brisente_47302-.txt", train_source_table(),
                                                                [](const RouteModel& model, const std::filesystem::path& dir) {
                                                                  dati_treno(model, dir, Durability::kTransient);  // as the package writes it
                                                                });
  EXPECT_EQ(bytes, table_text(train_source_table()));
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 113);
  EXPECT_NE(bytes.find("orologio,    10              55            30 \r\n"), std::string::npos);
  EXPECT_TRUE(bytes.ends_with("[codici]\r\n[fine]\r\n"));
  EXPECT_EQ(bytes.find(kEndMarker), std::string::npos);
}

}  // namespace
}  // namespace scenario
