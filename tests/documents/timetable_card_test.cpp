#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "documents/driver_documents.h"
#include "sources/builtin_sources.h"
#include "support/table_lines.h"
#include "support/writer_check.h"

namespace scenario {
namespace {

using testing::lines_of;
using testing::numbers;
using testing::rows_with;

// The four cards start on lines 3, 54, 104 and 154 of the document.
constexpr size_t kCardStart[] = {2, 53, 103, 153};
constexpr size_t kCardLines = 46;
constexpr size_t kFirstBodyLine = 14;  // within a card, from 0
constexpr size_t kBodyRows = 31;

std::vector<std::string> card(size_t number) {
  const std::vector<std::string> lines = lines_of(timetable_card_table());
  const auto start = lines.begin() + static_cast<std::ptrdiff_t>(kCardStart[number - 1]);
  return {start, start + kCardLines};
}

// One body row cut at its bars, with what the checks need read out of it.
struct CardRow {
  std::string limit, marc, km, rs, place, time, rec;

  static CardRow of(const std::string& line) {
    return {line.substr(2, 5),   line.substr(8, 5),   line.substr(14, 10), line.substr(25, 5),
            line.substr(31, 28), line.substr(60, 16), line.substr(77, 5)};
  }
  bool blank() const {
    return (limit + marc + km + rs + place + time + rec).find_first_not_of(' ') == std::string::npos;
  }
  int speed() const { return limit == "     " ? 0 : std::stoi(limit); }
  std::string text() const { return place.substr(1, place.find_last_not_of(' ')); }
  std::string figure() const {
    return km.substr(km.find_first_not_of(' '), km.find_last_not_of(' ') + 1 - km.find_first_not_of(' '));
  }
  // The figure in metres: "   35.000 " is 35000.
  int metres() const {
    const std::string posted = figure();
    return std::stoi(posted) * 1000 + std::stoi(posted.substr(posted.find('.') + 1));
  }
  std::optional<std::string> time_at(const char* form) const {
    std::smatch match;
    if (!std::regex_match(time, match, std::regex(form))) return std::nullopt;
    return match[1].str();
  }
  std::optional<std::string> arrival() const {
    if (auto both = time_at(R"(  (\d\d\.\d\d)   \d\d\.\d\d )")) return both;
    return time_at(R"(  (\d\d\.\d\d) {9})");
  }
  std::optional<std::string> departure() const {
    if (auto both = time_at(R"(  \d\d\.\d\d   (\d\d\.\d\d) )")) return both;
    return time_at(R"( {10}(\d\d\.\d\d) )");
  }
  std::optional<std::string> passing() const { return time_at(R"( {6}(\d\d\.\d\d) {5})"); }
  std::string last_time() const { return departure().value_or(passing().value_or(arrival().value_or(""))); }
};

std::vector<CardRow> filled_rows(size_t number) {
  const std::vector<std::string> lines = card(number);
  std::vector<CardRow> rows;
  for (size_t i = kFirstBodyLine; i < kFirstBodyLine + kBodyRows; ++i) {
    const CardRow row = CardRow::of(lines[i]);
    if (row.blank()) break;
    rows.push_back(row);
  }
  return rows;
}

TEST(TimetableCard, DocumentLayout) {
  const std::vector<std::string> lines = lines_of(timetable_card_table());
  ASSERT_EQ(lines.size(), 200u);
  const std::string dots81(81, '.');
  const std::string dots72(72, '.');
  const std::map<size_t, std::string> separators = {
      {0, ""},   {1, ""},       {48, ""},  {49, ""},  {50, dots81}, {51, ""},      {52, ""},  {99, ""},
      {100, ""}, {101, dots72}, {102, ""}, {149, ""}, {150, ""},    {151, dots72}, {152, ""}, {199, ""}};
  for (const auto& [index, text] : separators) EXPECT_EQ(lines[index], text) << "line " << index + 1;
}

// The lines of a card that are frame alone: the header boxes but for the
// heading and the values, the column headings and the two rules.
constexpr size_t kFrameLines[] = {0, 4, 5, 6, 8, 9, 10, 11, 12, 13, 45};
constexpr size_t kHeadingLine = 1;

TEST(TimetableCard, EveryCardHasTheFrameOfTheFirstAndItsOwnNumber) {
  const std::vector<std::string> first = card(1);
  for (size_t number = 2; number <= 4; ++number) {
    const std::vector<std::string> lines = card(number);
    for (const size_t i : kFrameLines) EXPECT_EQ(lines[i], first[i]) << "card " << number << " line " << i + 1;
    std::string heading = first[kHeadingLine];
    heading.replace(heading.find("SCHEDA 1/4"), 10, "SCHEDA " + std::to_string(number) + "/4");
    EXPECT_EQ(lines[kHeadingLine], heading) << "card " << number;
  }
}

// Every box of the frame is closed: a run of underscores lies between two
// bars of its own line (the bottom of a box, or a rule) or spans exactly the
// columns between two bars of the next line (the top of a box).
TEST(TimetableCard, EveryBoxOfTheFrameIsClosed) {
  const auto bar = [](const std::string& line, size_t column) { return column < line.size() && line[column] == '|'; };
  const std::vector<std::string> lines = card(1);
  int boxes = 0;
  for (size_t i = 0; i < kCardLines; ++i) {
    const std::string& line = lines[i];
    for (size_t from = line.find('_'); from != std::string::npos; from = line.find('_', from)) {
      const size_t to = std::min(line.find_first_not_of('_', from), line.size());
      const bool bottom = from > 0 && bar(line, from - 1) && bar(line, to);
      const bool top = from > 0 && i + 1 < kCardLines && bar(lines[i + 1], from - 1) && bar(lines[i + 1], to);
      EXPECT_TRUE(bottom || top) << "line " << i + 1 << " column " << from + 1;
      boxes += top && !bottom;
      from = to;
    }
  }
  EXPECT_EQ(boxes, 5);  // the header's left and right, the classification, the mass, the table
}

// The values of a card's header, cut out at their places: the train number
// after "TRENO n.", the stations after "da: " and "a: " (the colons one above
// the other), the right box's speed class and braking, the classification
// centred in its box and the mass after six spaces.
struct CardHeader {
  std::string train, from, to, speed_class, braking, classification, mass;

  static std::string trimmed(const std::string& box) {
    const size_t first = box.find_first_not_of(' ');
    return first == std::string::npos ? "" : box.substr(first, box.find_last_not_of(' ') + 1 - first);
  }
  // The box's text when it stands in the middle of the box, else nothing.
  static std::string centred(const std::string& box) {
    const size_t left = box.find_first_not_of(' ');
    const size_t right = box.size() - 1 - box.find_last_not_of(' ');
    return left == right ? trimmed(box) : "";
  }
  static CardHeader of(const std::vector<std::string>& lines) {
    const std::string& train = lines[2];
    const std::string& destination = lines[3];
    const std::string& mass = lines[7];
    EXPECT_EQ(train.substr(41, 4), "da: ");
    EXPECT_EQ(destination.substr(41, 4), " a: ");
    EXPECT_EQ(mass.substr(37, 6), "      ");
    return {train.substr(13, 5),           trimmed(train.substr(45, 22)), trimmed(destination.substr(45, 22)),
            centred(train.substr(68, 14)), centred(destination.substr(68, 14)), centred(mass.substr(2, 19)),
            trimmed(mass.substr(43, 13))};
  }
  std::vector<std::string> values() const { return {train, from, to, speed_class, braking, classification, mass}; }
};

std::string upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
  return text;
}

// The filled cards name the stations of their own first and last rows and
// the braked-mass percentage of the train source; the second leg continues
// the first under a number of its own.
TEST(TimetableCardAgreement, HeadersNameTheTrainItsStationsAndItsBraking) {
  const std::vector<std::string> braking = rows_with(train_source_table(), "percentuale massa frenata");
  ASSERT_EQ(braking.size(), 1u);
  const CardHeader first = CardHeader::of(card(1));
  const CardHeader second = CardHeader::of(card(2));
  EXPECT_EQ(first.train, kBuiltInTrain);
  EXPECT_EQ(second.train.find_first_not_of("0123456789"), std::string::npos) << second.train;
  EXPECT_NE(second.train, first.train);
  EXPECT_EQ(second.from, first.to);
  for (const CardHeader& header : {first, second}) {
    EXPECT_EQ(header.braking, std::to_string(numbers(braking[0]).at(0)) + "%");
    for (const std::string& value : header.values()) EXPECT_FALSE(value.empty()) << header.train;
  }
  EXPECT_EQ((std::vector{second.speed_class, second.classification, second.mass}),
            (std::vector{first.speed_class, first.classification, first.mass}));
  for (size_t number = 1; number <= 2; ++number) {
    const CardHeader header = CardHeader::of(card(number));
    EXPECT_EQ(upper(header.from), filled_rows(number).front().text()) << "card " << number;
    EXPECT_EQ(upper(header.to), filled_rows(number).back().text()) << "card " << number;
  }
}

// The blank cards hold placeholders in the places of the values: x for every
// figure and name, no digit.
TEST(TimetableCard, BlankCardHeadersHoldPlaceholders) {
  for (size_t number = 3; number <= 4; ++number) {
    for (const std::string& value : CardHeader::of(card(number)).values()) {
      EXPECT_NE(value.find("xxx"), std::string::npos) << "card " << number << ": " << value;
      EXPECT_EQ(value.find_first_of("0123456789"), std::string::npos) << "card " << number << ": " << value;
    }
  }
}

TEST(TimetableCard, TableLinesHaveTheirBarsInFixedColumns) {
  const std::string bars = "|     |     |          |     |                            |                |     |";
  for (size_t number = 1; number <= 4; ++number) {
    const std::vector<std::string> lines = card(number);
    for (size_t i = 11; i < kCardLines; ++i) {
      ASSERT_EQ(lines[i].size(), 83u) << "card " << number << " line " << i + 1;
      for (size_t column = 1; column < 83; ++column) {
        EXPECT_EQ(lines[i][column] == '|', bars[column - 1] == '|')
            << "card " << number << " line " << i + 1 << " column " << column + 1;
      }
    }
  }
}

TEST(TimetableCard, CellsHaveTheirForms) {
  const std::regex speed(R"( {5}|[ \d]{3}\d )");
  const std::regex figure(R"( {10}| *\d+\.\d{3} )");
  const std::regex time(R"( {16}|  \d\d\.\d\d   \d\d\.\d\d | {6}\d\d\.\d\d {5}| {10}\d\d\.\d\d |  \d\d\.\d\d {9})");
  const std::regex recovery(R"( {5}| \d\.\d )");
  for (size_t number = 1; number <= 4; ++number) {
    const std::vector<std::string> lines = card(number);
    for (size_t i = kFirstBodyLine; i < kFirstBodyLine + kBodyRows; ++i) {
      const CardRow row = CardRow::of(lines[i]);
      EXPECT_TRUE(std::regex_match(row.limit, speed)) << lines[i];
      EXPECT_EQ(row.marc, "     ") << lines[i];
      EXPECT_EQ(row.rs, row.limit) << lines[i];
      EXPECT_TRUE(std::regex_match(row.km, figure)) << lines[i];
      EXPECT_TRUE(row.place.starts_with(" ") && (row.blank() || row.place[1] != ' ')) << lines[i];
      EXPECT_TRUE(std::regex_match(row.time, time)) << lines[i];
      EXPECT_TRUE(std::regex_match(row.rec, recovery)) << lines[i];
    }
  }
}

TEST(TimetableCard, FilledRowsComeFirstThenBlankRows) {
  const std::map<size_t, size_t> filled = {{1, 18}, {2, 26}, {3, 0}, {4, 0}};
  for (const auto& [number, count] : filled) {
    EXPECT_EQ(filled_rows(number).size(), count) << "card " << number;
    const std::vector<std::string> lines = card(number);
    for (size_t i = kFirstBodyLine + count; i < kFirstBodyLine + kBodyRows; ++i) {
      EXPECT_TRUE(CardRow::of(lines[i]).blank()) << "card " << number << " line " << i + 1;
    }
  }
}

TEST(TimetableCard, HoldsTheTellingRows) {
  const std::vector<std::string> telling = {
      " |  30 |     |   35.000 |  30 | DORVALLO                   |          10.57 |     |",
      " |  60 |     |   34.410 |  60 | deviatoio di uscita        |      10.58     |     |",
      " | 140 |     |   33.700 | 140 | Km 33.700                  |      10.59     |     |",
      " |     |     |   23.950 |     | VALTORNE                   |  11.04   11.05 |     |",
      " |     |     |    4.500 |     | VELSARA                    |  11.38         | 2.0 |",
      " |     |     |    4.500 |     | VELSARA                    |          11.40 |     |",
      " |  60 |     |   83.150 |  60 | Seg. protezione Brisente   |      12.56     |     |",
      " |     |     |   84.500 |     | BRISENTE                   |  12.57         |     |",
  };
  const std::vector<std::string> lines = lines_of(timetable_card_table());
  for (const std::string& row : telling) EXPECT_NE(std::find(lines.begin(), lines.end(), row), lines.end()) << row;
}

// What a filled row is, from its text, its times and whether it shows a limit.
std::string kind_of(const CardRow& row) {
  const std::string text = row.text();
  if (text == "deviatoio di uscita") return "exit switch";
  if (text.starts_with("Km ")) return "kilometre point";
  if (text.starts_with("Seg. protezione ")) return "protection signal";
  if (row.arrival() && row.departure()) return "stop";
  if (row.passing()) return "timing point";
  if (row.departure()) return row.speed() > 0 ? "departure station" : "first station of card 2";
  return "last station";
}

TEST(TimetableCard, RowKindsInOrderOfTravel) {
  struct Expected {
    size_t card;
    std::string first;
    std::map<std::string, int> between;
  };
  const Expected cards[] = {
      {1, "departure station", {{"exit switch", 1}, {"kilometre point", 6}, {"stop", 7}, {"protection signal", 2}}},
      {2,
       "first station of card 2",
       {{"exit switch", 1}, {"kilometre point", 8}, {"stop", 13}, {"timing point", 1}, {"protection signal", 1}}},
  };
  const std::map<std::string, bool> shows_limit = {{"departure station", true},
                                                   {"exit switch", true},
                                                   {"kilometre point", true},
                                                   {"protection signal", true},
                                                   {"stop", false},
                                                   {"timing point", false},
                                                   {"last station", false},
                                                   {"first station of card 2", false}};
  for (const Expected& expected : cards) {
    const std::vector<CardRow> rows = filled_rows(expected.card);
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(kind_of(rows.front()), expected.first);
    EXPECT_EQ(kind_of(rows.back()), "last station");
    std::map<std::string, int> between;
    for (size_t i = 1; i + 1 < rows.size(); ++i) ++between[kind_of(rows[i])];
    EXPECT_EQ(between, expected.between) << "card " << expected.card;
    for (const CardRow& row : rows) EXPECT_EQ(row.speed() > 0, shows_limit.at(kind_of(row))) << row.text();
  }
}

TEST(TimetableCard, TimesNeverFallAndLimitsShowOnlyWhereTheyChange) {
  for (size_t number = 1; number <= 2; ++number) {
    std::string last_time;
    int last_limit = 0;
    for (const CardRow& row : filled_rows(number)) {
      EXPECT_GE(row.arrival().value_or(row.last_time()), last_time) << row.text();
      last_time = row.last_time();
      if (row.speed() == 0) continue;
      EXPECT_NE(row.speed(), last_limit) << row.text();
      last_limit = row.speed();
    }
  }
}

TEST(TimetableCard, FiguresFallToTheChangeOverAndThenRise) {
  const std::vector<CardRow> first = filled_rows(1);
  const std::vector<CardRow> second = filled_rows(2);
  ASSERT_EQ(first.size(), 18u);
  ASSERT_EQ(second.size(), 26u);
  EXPECT_EQ(first.front().metres(), 35000);
  for (size_t i = 1; i + 1 < first.size(); ++i) EXPECT_LT(first[i].metres(), first[i - 1].metres()) << first[i].text();
  EXPECT_EQ(first[first.size() - 2].metres(), 3661);
  EXPECT_EQ(first.back().metres(), 4500);
  EXPECT_EQ(second.front().metres(), 4500);
  for (size_t i = 1; i < second.size(); ++i) EXPECT_GT(second[i].metres(), second[i - 1].metres()) << second[i].text();
  EXPECT_EQ(second.back().metres(), 84500);
}

// ---- agreement with the built-in sources ----

// The lineside kilometre figure at route position p, in metres, from the
// progressive systems of the line source: the one that begins last at or
// before p counts down (direction 1) or up from its offset.
int lineside_metres(int p) {
  std::vector<int> in_force;
  for (const std::string& row : rows_with(line_source_table(), "progressiva chilometrica")) {
    const std::vector<int> system = numbers(row);
    if ((system[0] != 0 || system[1] != 0) && system[0] <= p && (in_force.empty() || system[0] >= in_force[0])) {
      in_force = system;
    }
  }
  return in_force.at(2) == 1 ? in_force[1] - p : p + in_force[1];
}

std::string clock(int hour, int minute) {
  const auto two_digits = [](int value) { return (value < 10 ? "0" : "") + std::to_string(value); };
  return two_digits(hour) + "." + two_digits(minute);
}

TEST(TimetableCardAgreement, KilometreFiguresFollowTheProgressiveSystems) {
  EXPECT_EQ(lineside_metres(0), 35000);
  EXPECT_EQ(lineside_metres(33950), 1050);
  EXPECT_EQ(lineside_metres(35000), 4500);
  EXPECT_EQ(lineside_metres(115000), 84500);
}

TEST(TimetableCardAgreement, StationsTimesAndFiguresMatchTheTrainSource) {
  std::map<std::string, std::vector<CardRow>> on_card;
  std::vector<std::string> card_order;
  for (size_t number = 1; number <= 2; ++number) {
    for (const CardRow& row : filled_rows(number)) {
      const std::string kind = kind_of(row);
      if (kind == "exit switch" || kind == "kilometre point" || kind == "protection signal") continue;
      if (on_card[row.text()].empty()) card_order.push_back(row.text());
      on_card[row.text()].push_back(row);
    }
  }
  std::vector<std::string> source_order;
  for (const std::string& row : rows_with(train_source_table(), "stazione,")) {
    const std::vector<int> values = numbers(row);
    const std::string name = row.substr(row.rfind(", ") + 2);
    source_order.push_back(name);
    for (const CardRow& card_row : on_card[name]) {
      // The card gives the post to the metre, the source the 50 m grid.
      EXPECT_LE(std::abs(card_row.metres() - lineside_metres(values[0])), 50) << name;
      const std::string scheduled = clock(values[13], values[14]);
      if (values[1] == 25) {
        EXPECT_EQ(scheduled, "00.00") << name << ": a timing point has no time of its own";
        EXPECT_TRUE(card_row.passing().has_value()) << name;
      } else if (card_row.departure()) {
        EXPECT_EQ(*card_row.departure(), scheduled) << name;
      } else {
        EXPECT_LE(card_row.arrival().value_or("99.99"), scheduled) << name;
      }
    }
  }
  EXPECT_EQ(card_order, source_order);
}

TEST(TimetableCardAgreement, KilometrePointsAreTheZeroStripeBoards) {
  std::vector<std::pair<std::string, int>> boards;
  for (const std::string& row : rows_with(line_source_table(), "indicatori_vmax")) {
    const std::vector<int> values = numbers(row);
    if (values[4] != 0) continue;
    const int metres = lineside_metres(values[0]);
    boards.emplace_back("Km " + std::to_string(metres / 1000) + "." + std::to_string(metres % 1000 + 1000).substr(1),
                        values[1]);
  }
  std::vector<std::pair<std::string, int>> points;
  for (size_t number = 1; number <= 2; ++number) {
    for (const CardRow& row : filled_rows(number)) {
      if (kind_of(row) != "kilometre point") continue;
      EXPECT_EQ("Km " + row.figure(), row.text());
      points.emplace_back(row.text(), row.speed());
    }
  }
  EXPECT_EQ(points, boards);
}

TEST(TimetableCardAgreement, ProtectionSignalsStandBeforeTheirStations) {
  std::map<std::string, int> station_starts;
  for (const std::string& row : rows_with(train_source_table(), "stazione,")) {
    const std::vector<int> values = numbers(row);
    station_starts[row.substr(row.rfind(", ") + 2)] = values[0] - values[2] / 2;
  }
  std::vector<int> signals;
  for (const std::string& row : rows_with(train_source_table(), "segnale,")) signals.push_back(numbers(row)[0]);
  int protections = 0;
  for (size_t number = 1; number <= 2; ++number) {
    for (const CardRow& row : filled_rows(number)) {
      if (kind_of(row) != "protection signal") continue;
      ++protections;
      const std::string station = upper(row.text().substr(std::string("Seg. protezione ").size()));
      ASSERT_TRUE(station_starts.contains(station)) << row.text();
      const auto signal = std::find_if(signals.begin(), signals.end(), [&](int position) {
        return std::abs(lineside_metres(position) - row.metres()) <= 50;
      });
      ASSERT_NE(signal, signals.end()) << row.text();
      EXPECT_LT(*signal, station_starts[station]) << row.text();
    }
  }
  EXPECT_EQ(protections, 3);
}

TEST(DatiScheda, WritesTheTableUnderTheTrainName) {
  // An older, longer file of the same name leaves nothing behind.
  const std::string bytes = testing::written_over_older_file("Dorvallo_Brisente_47302_scheda_treno.txt", timetable_card_table(), dati_scheda);
  EXPECT_EQ(bytes, table_text(timetable_card_table()));
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 200);
}

}  // namespace
}  // namespace scenario
