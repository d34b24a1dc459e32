#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "model/route_model.h"
#include "sources/builtin_sources.h"
#include "support/table_lines.h"
#include "support/writer_check.h"

namespace scenario {
namespace {

using testing::lines_of;
using testing::numbers;

// The rows under one heading of the line source.
std::vector<std::string> section(std::string_view heading) { return testing::section(line_source_table(), heading); }

// What the readers ask of the general rows and the track records: the longest
// route, how far before the end of the grid a track record must stand, and
// the rise of a falling progressive system's offset when it is ordered.
constexpr int kLongestRoute = 1000000;
constexpr int kPositionMargin = 2 * kCellLength;
constexpr int kFallingOffsetRise = 100;

// The length the general section gives, and the last cell of the grid it
// makes: the route and its run-out in cells, halves to even.
int route_length() { return numbers(testing::rows_with(line_source_table(), "lunghezza percorso").at(0)).at(0); }
int last_cell() { return static_cast<int>(std::nearbyint((route_length() + kRunOut) / double{kCellLength})); }

TEST(LineSource, HasItsSectionsInOrderWithTheirRowCounts) {
  const std::vector<std::string> lines = lines_of(line_source_table());
  ASSERT_EQ(lines.size(), 189u);
  EXPECT_EQ(lines.front(), "stazione di Brisente a km 114,300");
  EXPECT_EQ(lines.back(), "[fine]");
  const std::vector<std::pair<std::string, size_t>> expected = {
      {"[generale]", 8},  {"[curve]", 70},       {"[pendenze]", 22}, {"[montagne]", 27},
      {"[cartelli]", 24}, {"[indicazioni]", 30}, {"[fine]", 0}};
  EXPECT_EQ(testing::section_sizes(line_source_table()), expected);
}

// Each general row is one the reader knows, given once, with values it takes
// without an error: a length within its limit, signal repetition positions on
// the grid with a code count of 4 or 9 named, and progressive systems whose
// start and offset (a falling one's raised by 100 when ordered) lie on the
// grid the train reader asks for.
TEST(LineSource, GeneralRowsPassTheReadersChecks) {
  std::set<std::string> keys;
  for (const std::string& row : section("[generale]")) {
    const std::string key = row.substr(0, row.find(','));
    EXPECT_TRUE(keys.insert(key).second) << "given twice: " << row;
    const std::vector<int> values = numbers(row);
    if (key == "lunghezza percorso") {
      ASSERT_EQ(values.size(), 1u) << row;
      EXPECT_GT(values[0], 0) << row;
      EXPECT_LE(values[0], kLongestRoute) << row;
    } else if (key.starts_with("progressiva chilometrica ")) {
      ASSERT_EQ(values.size(), 3u) << row;
      const bool falling = values[2] == 1;
      EXPECT_TRUE(falling || values[2] == 0) << row;
      EXPECT_EQ(values[0] % kCellLength, 0) << row;
      EXPECT_EQ((values[1] + (falling ? kFallingOffsetRise : 0)) % kCellLength, 0) << row;
    } else if (key.starts_with("sfondo ")) {
      EXPECT_EQ(values.size(), 1u) << row;
    } else if (key.starts_with("ripetizione segnali ")) {
      ASSERT_EQ(values.size(), 2u) << row;
      EXPECT_EQ(values[0] % kCellLength, 0) << row;
      EXPECT_EQ(values[1] % kCellLength, 0) << row;
      EXPECT_NE(key.find_first_of("49"), std::string::npos) << row;
    } else {
      ADD_FAILURE() << "not a general row the reader knows: " << row;
    }
  }
  EXPECT_TRUE(keys.contains("lunghezza percorso"));
}

TEST(LineSource, EveryTrackRowHasTheFormOfItsSection) {
  const std::map<std::string, std::regex> forms = {
      {"[curve]", std::regex(R"(curva[sd][1-6],  [1-9]\d*,  [1-9]\d*)")},
      {"[pendenze]", std::regex(R"(pendenza,   0,    0|pendenza,  [1-9]\d*,   -?[0-3])")},
      {"[montagne]", std::regex(R"(montagna,   [1-9]\d*,  [1-9]\d*,  2)")},
      {"[cartelli]", std::regex(R"(indicatori_vmax,  [1-9]\d*(,  \d+){8})")},
      // No comma or quote inside a board text: the reader would cut it there.
      {"[indicazioni]", std::regex(R"re(cartello_indicatore,  [1-9]\d*,   (\([^()",]+\)){2,3})re")},
  };
  for (const auto& [heading, form] : forms) {
    for (const std::string& row : section(heading)) EXPECT_TRUE(std::regex_match(row, form)) << row;
  }
}

TEST(LineSource, HoldsTheRowsTheRouteIsKnownBy) {
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"[curve]", "curvas6,  650,  300"},
      {"[curve]", "curvas2,  950,  100"},
      {"[pendenze]", "pendenza,  1350,   -3"},
      {"[montagne]", "montagna,   7200,  7250,  2"},
      {"[cartelli]", "indicatori_vmax,  1300,  140,  150,  160,  0,  140,  150,  160,  0"},
      {"[cartelli]", "indicatori_vmax,  7700,  100,  100,  110,  2,  100,  100,  110,  2"},
      {"[indicazioni]", "cartello_indicatore,  7150,   (SOTTOVIA    )(AUTOSTRADALE)"},
  };
  for (const auto& [heading, row] : rows) EXPECT_TRUE(testing::has_row(line_source_table(), heading, row)) << row;
  const std::vector<std::string> curves = section("[curve]");
  EXPECT_EQ(curves.back(), "curvad4,  110100,  800");
  const auto sharp = std::find(curves.begin(), curves.end(), "curvas6,  650,  300");
  ASSERT_NE(sharp, curves.end());
  EXPECT_EQ(*(sharp + 1), "curvas2,  950,  100");
}

TEST(LineSource, PositionsAscendInStepsOf50AndPassTheReadersCheck) {
  // The reader accepts a track record at p when p <= 50 * last_cell - 100.
  const int last_accepted = kCellLength * last_cell() - kPositionMargin;
  for (const std::string heading : {"[curve]", "[pendenze]", "[montagne]", "[cartelli]", "[indicazioni]"}) {
    int previous = -1;
    for (const std::string& row : section(heading)) {
      const std::vector<int> values = numbers(row);
      const bool strict = heading != "[curve]";  // curves are checked for overlap below
      EXPECT_TRUE(strict ? values[0] > previous : values[0] >= previous) << row;
      EXPECT_EQ(values[0] % kCellLength, 0) << row;
      EXPECT_LE(values[0], last_accepted) << row;
      if (heading == "[curve]" || heading == "[montagne]") {
        EXPECT_EQ(values[1] % kCellLength, 0) << row;
      }
      previous = values[0];
    }
  }
}

TEST(LineSourceCurves, NeverOverlapAndOftenFollowOnDirectly) {
  int previous_end = 0;
  int followers = 0;
  for (const std::string& row : section("[curve]")) {
    const std::vector<int> values = numbers(row);
    EXPECT_GE(values[0], previous_end) << row;
    if (values[0] == previous_end) ++followers;
    previous_end = values[0] + values[1];
  }
  EXPECT_GE(followers, 20);
  // The last curve ends before the route does: the run-out runs straight.
  EXPECT_LE(previous_end, route_length());
}

TEST(LineSourceGradients, StartLevelAndChangeAtEveryRow) {
  const std::vector<std::string> rows = section("[pendenze]");
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows.front(), "pendenza,   0,    0");
  int previous = numbers(rows.front())[1];
  for (size_t i = 1; i < rows.size(); ++i) {
    const int gradient = numbers(rows[i])[1];
    EXPECT_GE(gradient, -3) << rows[i];
    EXPECT_LE(gradient, 3) << rows[i];
    EXPECT_NE(gradient, previous) << rows[i];
    previous = gradient;
  }
}

// An indication board: its position and its sign lines, padding kept.
struct SignBoard {
  int position = 0;
  std::vector<std::string> lines;
};

std::vector<SignBoard> sign_boards() {
  std::vector<SignBoard> boards;
  for (const std::string& row : section("[indicazioni]")) {
    SignBoard board{.position = numbers(row)[0], .lines = {}};
    const std::string text = row.substr(row.find('('));
    for (size_t open = 0; open < text.size(); open = text.find(')', open) + 1) {
      board.lines.push_back(text.substr(open + 1, text.find(')', open) - open - 1));
    }
    boards.push_back(board);
  }
  return boards;
}

TEST(LineSourceBoards, SignLinesArePaddedToTheLongest) {
  for (const SignBoard& board : sign_boards()) {
    size_t longest = 0;
    for (const std::string& line : board.lines) {
      EXPECT_EQ(line.size(), board.lines.front().size()) << board.position;
      longest = std::max(longest, line.find_last_not_of(' ') + 1);
    }
    EXPECT_EQ(longest, board.lines.front().size()) << board.position << ": padded beyond its longest line";
  }
}

TEST(LineSourceBoards, CountPerKindAndShape) {
  std::map<std::string, int> first_lines;
  std::map<size_t, int> line_counts;
  int second_class = 0;
  for (const SignBoard& board : sign_boards()) {
    ++first_lines[board.lines.front().substr(0, board.lines.front().find_last_not_of(' ') + 1)];
    ++line_counts[board.lines.size()];
    // The degree sign is the one byte 0xB0 of the single-byte code page.
    if (board.lines.back().find("II\xB0") != std::string::npos) ++second_class;
  }
  EXPECT_EQ(first_lines, (std::map<std::string, int>{{"SOTTOVIA", 24}, {"SOTTOVIA F.S.", 3}, {"PONTE SU", 3}}));
  EXPECT_EQ(line_counts, (std::map<size_t, int>{{2, 29}, {3, 1}}));
  EXPECT_EQ(second_class, 3);
}

TEST(LineSourceTunnels, AreUnderpassesOf50MetresEachBehindItsBoard) {
  std::set<int> underpass_boards;
  std::set<int> bridge_boards;
  for (const SignBoard& board : sign_boards()) {
    (board.lines.front().starts_with("SOTTOVIA") ? underpass_boards : bridge_boards).insert(board.position);
  }
  std::set<int> tunnel_boards;
  int previous_end = -1000;
  for (const std::string& row : section("[montagne]")) {
    const std::vector<int> values = numbers(row);
    EXPECT_EQ(values[1], values[0] + 50) << row;
    EXPECT_EQ(values[2], 2) << row;
    // Closer than 150 m the reader would turn the tunnel into a kind 3.
    EXPECT_GT(values[0] - previous_end, 150) << row;
    previous_end = values[1];
    tunnel_boards.insert(values[0] - 50);
  }
  EXPECT_EQ(tunnel_boards, underpass_boards);
  EXPECT_EQ(bridge_boards.size(), 3u);
}

// A speed board: position, the s group (vas, vbs, vcs, strisces) and the d group.
struct SpeedBoard {
  int position = 0;
  std::vector<int> s;
  std::vector<int> d;
  int stripes() const { return s[3]; }
  bool same_speeds(const SpeedBoard& other) const { return std::equal(s.begin(), s.begin() + 3, other.s.begin()); }
};

std::vector<SpeedBoard> speed_boards() {
  std::vector<SpeedBoard> boards;
  for (const std::string& row : section("[cartelli]")) {
    const std::vector<int> values = numbers(row);
    boards.push_back({values[0], {values.begin() + 1, values.begin() + 5}, {values.begin() + 5, values.end()}});
  }
  return boards;
}

TEST(LineSourceSpeedBoards, BothSidesAgreeAndSpeedsRiseByClass) {
  for (const SpeedBoard& board : speed_boards()) {
    EXPECT_EQ(board.s, board.d) << board.position;
    EXPECT_LE(board.s[0], board.s[1]) << board.position;
    EXPECT_LE(board.s[1], board.s[2]) << board.position;
    EXPECT_EQ(board.s[0] % 5, 0) << board.position;
    EXPECT_GE(board.stripes(), 0);
    EXPECT_LE(board.stripes(), 2);
  }
}

TEST(LineSourceSpeedBoards, FollowTheAnnouncementPattern) {
  // A reduction is announced by a 1-stripe board 1200 m ahead of its 0-stripe
  // board (in four places by a 2-stripe board 1500 m before that); a rise is a
  // single 0-stripe board; one 0-stripe board repeats the speeds before it.
  const std::vector<SpeedBoard> boards = speed_boards();
  ASSERT_EQ(boards.size(), 24u);
  int two_stripes = 0;
  int reductions = 0;
  int rises = 0;
  std::vector<int> repeats;
  const SpeedBoard* in_force = nullptr;
  for (size_t i = 0; i < boards.size(); ++i) {
    const SpeedBoard& board = boards[i];
    if (board.stripes() > 0) {
      ASSERT_LT(i + 1, boards.size());
      const SpeedBoard& next = boards[i + 1];
      EXPECT_EQ(next.stripes(), board.stripes() - 1) << board.position;
      EXPECT_TRUE(next.same_speeds(board)) << board.position;
      EXPECT_EQ(next.position - board.position, board.stripes() == 2 ? 1500 : 1200) << board.position;
      if (board.stripes() == 2) ++two_stripes;
      continue;
    }
    const bool announced = i > 0 && boards[i - 1].stripes() == 1;
    if (in_force != nullptr && board.same_speeds(*in_force)) {
      EXPECT_FALSE(announced) << board.position;
      EXPECT_EQ(&boards[i - 1], in_force) << board.position << ": repeats a board that is not the one before";
      repeats.push_back(board.position);
    } else if (in_force != nullptr && board.s[0] < in_force->s[0]) {
      EXPECT_TRUE(announced) << board.position << ": a reduction without its 1-stripe board";
      ++reductions;
    } else {
      EXPECT_FALSE(announced) << board.position << ": a rise needs no announcement";
      ++rises;
    }
    in_force = &board;
  }
  EXPECT_EQ(two_stripes, 4);
  EXPECT_EQ(reductions, 6);
  EXPECT_EQ(rises, 7);
  EXPECT_EQ(repeats, std::vector<int>{26200});
  EXPECT_EQ(2 * reductions + two_stripes + rises + static_cast<int>(repeats.size()), 24);
}

TEST(DatiLinea, WritesTheTableUnderTheScenarioName) {
  // An older, longer file of the same name leaves nothing behind.
  const std::string bytes = testing::written_over_older_file("Dorvallo_Brisente_linea.txt", line_source_table(),
                                                                [](const RouteModel& model, const std::filesystem::path& dir) {
                                                                  dati_linea(model, dir, Durability::kTransient);  // as the package writes it
                                                                });
  EXPECT_EQ(bytes, table_text(line_source_table()));
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 189);
  EXPECT_EQ(bytes.find(kEndMarker), std::string::npos);
  EXPECT_TRUE(bytes.ends_with("[fine]\r\n"));
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\xB0'), 3);
}

}  // namespace
}  // namespace scenario
