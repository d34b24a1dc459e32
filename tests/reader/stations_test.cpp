#include "reader/stations.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/error_codes.h"
#include "model/run_failure.h"
#include "support/model_fixtures.h"

namespace scenario {
namespace {

using testing::approaches;

constexpr int32_t kLastCell = 2480;

// A grid of the built-in route's size and the reader state of a line source
// without indication boards.
struct Stations {
  RouteModel model = testing::model_with_cells(kLastCell);
  ReaderContext context{false};
  ReaderState& state = context.state;
  Outcome outcome;

  // Reads one record, keyword included, as the train reader hands it over.
  void read(const std::string& record) {
    FieldReader reader(record, "T-.txt");
    read_token(context, reader);
    Record station(model, reader, context, Source::kTrain, false);
    outcome = memo_stazione(station);
  }

  int32_t error_code() const { return outcome.refusal ? outcome.refusal->code : 0; }
  ErrorSite error_site() const { return outcome.refusal ? outcome.refusal->site : ErrorSite{}; }

  const Entry& row(int k) const { return model.entries[static_cast<size_t>(k)]; }
  const Cell& cell(int i) const { return model.cells[static_cast<size_t>(i)]; }
};

// A record with the given position, kind, length, values 5 and 6, and zeros
// elsewhere.
std::string station(int32_t position, int kind, int32_t length, int value5 = 0, int value6 = 0) {
  return "stazione, " + std::to_string(position) + ", " + std::to_string(kind) + ", " +
         std::to_string(length) + ", 0, " + std::to_string(value5) + ", " + std::to_string(value6) +
         ", 0,0,0, 0,0,0, 0, 0, 0, 0, X\r\n";
}

TEST(MemoStazione, OriginStoresEveryValueAndItsCells) {
  Stations s;
  s.read("stazione,       0, 11,  600,  1, 0, 0,  4,1,0,  2,1,1,    1,  10,57, 0, DORVALLO\r\n");
  ASSERT_EQ(s.error_code(), 0);
  const Entry& row = s.row(1);
  EXPECT_EQ(row.kind, 11);
  EXPECT_EQ(row.long1, -300);
  EXPECT_EQ(row.long2, 300);
  EXPECT_EQ(row.long3, 0);
  EXPECT_EQ(row.long4, 39420);
  EXPECT_EQ(row.text, "DORVALLO");
  EXPECT_EQ(row.flag, 1);
  EXPECT_EQ(row.byte4, 0);
  EXPECT_EQ(row.byte3, 0);
  EXPECT_EQ(row.short1, 4);
  EXPECT_EQ(row.short2, 1);
  EXPECT_EQ(row.byte1, 0);
  EXPECT_EQ(row.short3, 2);
  EXPECT_EQ(row.short4, 1);
  EXPECT_EQ(row.short5, 1);
  EXPECT_EQ(row.byte2, 1);
  EXPECT_EQ(s.cell(5).kind, kStationStop);
  EXPECT_EQ(s.cell(5).p1, 1);
  EXPECT_EQ(approaches(s.model, {4, 3, 2, 1}), (std::vector<uint8_t>{81, 82, 83, 0}));
  EXPECT_EQ(s.state.station_counter, 2);
}

TEST(MemoStazione, ChangeOverStationKeepsItsSettingFromSixHundredMetres) {
  Stations s;
  s.read(station(11000, 12, 400));
  s.read("stazione,   35000,  2,  700,  1, 1, 0,  4,1,1,  2,1,1,   30,  11,40, 0, VELSARA\r\n");
  ASSERT_EQ(s.error_code(), 0);
  EXPECT_EQ(s.row(2).long1, 34650);
  EXPECT_EQ(s.row(2).long2, 35350);
  EXPECT_EQ(s.row(2).byte4, 1);
  EXPECT_EQ(s.row(2).long4, 42000);
  EXPECT_EQ(s.cell(706).kind, kStationStop);
  EXPECT_EQ(s.cell(706).p1, 2);
  EXPECT_EQ(approaches(s.model, {705, 704, 703, 702, 701}), (std::vector<uint8_t>{81, 82, 83, 84, 0}));
}

struct ExtentCase {
  const char* name;
  int32_t position;
  int kind;
  int32_t length;
  int value6;
  int32_t start;
  int32_t end;
  int stop_cell;  // 0: none
  bool approach_cells;
  uint8_t byte3;
};

class StationExtent : public ::testing::TestWithParam<ExtentCase> {};

// Each case is the second station, after one at the origin.
TEST_P(StationExtent, GivesExtentStopCellAndApproachCells) {
  const ExtentCase& c = GetParam();
  Stations s;
  s.read(station(0, 11, 600));
  s.read(station(c.position, c.kind, c.length, 0, c.value6));
  ASSERT_EQ(s.error_code(), 0);
  EXPECT_EQ(s.row(2).long1, c.start);
  EXPECT_EQ(s.row(2).long2, c.end);
  EXPECT_EQ(s.row(2).byte3, c.byte3);
  size_t stops = 0;
  size_t approach_cells = 0;
  for (size_t i = 6; i < s.model.cells.size(); ++i) {
    stops += s.model.cells[i].kind == kStationStop ? 1 : 0;
    approach_cells += s.model.cells[i].approach != 0 ? 1 : 0;
  }
  EXPECT_EQ(stops, c.stop_cell == 0 ? 0u : 1u);
  if (c.stop_cell != 0) {
    EXPECT_EQ(s.cell(c.stop_cell).kind, kStationStop);
  }
  EXPECT_EQ(approach_cells, c.approach_cells ? 4u : 0u);
  if (c.approach_cells) {
    EXPECT_EQ(s.cell(c.stop_cell - 4).approach, 84);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StationExtent,
    ::testing::Values(ExtentCase{"Kind5", 2000, 5, 300, 1, 1700, 2150, 42, false, 0},
                      ExtentCase{"Kind6", 2000, 6, 300, 0, 1700, 2150, 42, false, 0},
                      ExtentCase{"Kind7", 5000, 7, 400, 1, 4600, 5400, 107, true, 0},
                      ExtentCase{"Kind8", 5000, 8, 400, 0, 4600, 5400, 107, true, 0},
                      ExtentCase{"Kind12Extended", 5000, 12, 400, 1, 4800, 5250, 104, true, 1},
                      ExtentCase{"Kind12", 5000, 12, 400, 0, 4800, 5200, 103, true, 0},
                      ExtentCase{"TimingPoint", 40150, 25, 300, 0, 40000, 40300, 0, false, 0},
                      ExtentCase{"HighKind", 40150, 200, 300, 1, 40000, 40350, 0, false, 1}),
    [](const ::testing::TestParamInfo<ExtentCase>& test_case) { return test_case.param.name; });

struct SettingCase {
  const char* name;
  bool first;
  int32_t length;
  int value5;
  int value6;
  uint8_t byte4;
  uint8_t byte3;
  int32_t end;
};

class StationSettings : public ::testing::TestWithParam<SettingCase> {};

TEST_P(StationSettings, ClearsByte4ForShortStationsAndBothFlagsForTheFirst) {
  const SettingCase& c = GetParam();
  Stations s;
  if (!c.first) s.read(station(0, 11, 600));
  s.read(station(10000, 12, c.length, c.value5, c.value6));
  const Entry& row = s.row(c.first ? 1 : 2);
  EXPECT_EQ(row.byte4, c.byte4);
  EXPECT_EQ(row.byte3, c.byte3);
  EXPECT_EQ(row.long2, c.end);
}

INSTANTIATE_TEST_SUITE_P(Cases, StationSettings,
                         ::testing::Values(SettingCase{"Short", false, 500, 1, 0, 0, 0, 10250},
                                           SettingCase{"Long", false, 600, 1, 0, 1, 0, 10300},
                                           SettingCase{"LongFirst", true, 600, 1, 0, 0, 0, 10300},
                                           SettingCase{"Extended", false, 600, 0, 1, 0, 1, 10350},
                                           // The first station's end moves before its flag is cleared.
                                           SettingCase{"ExtendedFirst", true, 600, 0, 1, 0, 0, 10350}),
                         [](const ::testing::TestParamInfo<SettingCase>& test_case) {
                           return test_case.param.name;
                         });

TEST(MemoStazione, ScheduledTimeInSeconds) {
  Stations s;
  s.read("stazione,  115000,  2,  800,  1, 1, 0,  1,1,0,  2,1,1,    0,  12,59, 0, BRISENTE\r\n");
  EXPECT_EQ(s.row(1).long4, 46740);
  EXPECT_EQ(s.row(1).text, "BRISENTE");
}

TEST(MemoStazione, StopMarkOverwritesASignalAndApproachMarks) {
  Stations s;
  s.model.cells[104].kind = kSignal;
  s.model.cells[104].p1 = 42;
  s.model.cells[102].approach = 31;
  s.read(station(5000, 12, 400, 0, 1));
  EXPECT_EQ(s.error_code(), 0);
  EXPECT_EQ(s.cell(104).kind, kStationStop);
  EXPECT_EQ(s.cell(104).p1, 1);
  EXPECT_EQ(s.cell(102).approach, 82);
}

TEST(MemoStazione, StationsExactlyThreeHundredFiftyMetresApartAreAccepted) {
  Stations s;
  s.read(station(10000, 12, 400));  // ends at 10200
  s.read(station(10750, 12, 400));  // begins at 10550
  EXPECT_EQ(s.error_code(), 0);
  EXPECT_EQ(s.state.station_counter, 3);
}

struct RefusalCase {
  const char* name;
  std::string record;
  int32_t code;
  std::string detail;
  int column;
};

class StationRefusal : public ::testing::TestWithParam<RefusalCase> {};

// The second station is refused; the first, at 10000 m, ends at 10200 m.
TEST_P(StationRefusal, RecordsNumberDetailAndField) {
  const RefusalCase& c = GetParam();
  Stations s;
  s.read(station(10000, 12, 400));
  s.read(c.record);
  EXPECT_EQ(s.error_code(), c.code);
  EXPECT_EQ(s.error_site().detail, c.detail);
  EXPECT_EQ(s.error_site().file, "T-.txt");
  EXPECT_EQ(s.error_site().line, 1);
  EXPECT_EQ(s.error_site().column, c.column);
  EXPECT_EQ(s.error_site().excerpt.text, c.record.substr(0, c.record.size() - 2));
  EXPECT_EQ(s.state.station_counter, 2);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StationRefusal,
    ::testing::Values(
        RefusalCase{"NotOnACell", station(10025, 12, 400), kStationOffGrid,
                    "station at 10025 m: position is not a multiple of 50 m", 11},
        RefusalCase{"UnevenLength", station(20000, 12, 450), kStationLengthUneven,
                    "station at 20000 m: length 450 m is not a multiple of 100 m", 22},
        RefusalCase{
            "TooClose", station(10700, 12, 400), kStationsTooClose,
            "station at 10700 m begins at 10500 m, less than 350 m after the station in row 1 ends at "
            "10200 m",
            11},
        RefusalCase{
            "NearTheEnd", station(123250, 12, 400), kPositionError,
            "station at 123250 m lies within 800 m of the end of the grid (last cell 2480, at 124000 m)", 11}),
    [](const ::testing::TestParamInfo<RefusalCase>& test_case) { return test_case.param.name; });

// The position check leaves the extent unchecked: a stop cell past the grid
// is a run-time failure (the reader's trap makes it 25), raised when the stop
// mark is written, after the approach cells that still lie on the grid.
TEST(MemoStazione, StopCellBeyondTheGridIsARunTimeFailure) {
  Stations far;
  EXPECT_THROW(far.read(station(20000, 7, 120000)), RunFailure);  // stop cell 2799
  Stations just_past;
  // Kind 8 reaches both ways: extent end 123100 + 1000 = 124100, stop cell
  // 2481, one past the last cell; its approach cells 2480 to 2477 are written.
  EXPECT_THROW(just_past.read(station(123100, 8, 1000)), RunFailure);  // stop cell 2481
  EXPECT_EQ(just_past.cell(2480).approach, 81);
  EXPECT_EQ(just_past.cell(2477).approach, 84);
}

TEST(MemoStazione, PositionCheckIsExact) {
  Stations accepted;
  accepted.read(station(123200, 25, 400));
  EXPECT_EQ(accepted.error_code(), 0);
  Stations refused;
  refused.read(station(123250, 25, 400));
  EXPECT_EQ(refused.error_code(), kPositionError);
}

// After error 15 nothing more of the record is read: a record cut short
// there is no read failure.
TEST(MemoStazione, PositionBeyondTheGridReadsNoFurther) {
  Stations s;
  s.read("stazione, 124000\r\n");
  EXPECT_EQ(s.error_code(), kPositionError);
  EXPECT_EQ(s.row(1).long3, 124000);
}

TEST(MemoStazione, StopCellAtCellOneOrLowerIsRefused) {
  Stations s;
  s.read(station(0, 11, 200));
  EXPECT_EQ(s.error_code(), kStopCellUnusable);
  EXPECT_EQ(
      s.error_site().detail,
      "station at 0 m: extent ends at 100 m, which puts the stop mark in cell 1 (cells 0 and 1 take none)");
  for (const Cell& cell : s.model.cells) EXPECT_EQ(cell, Cell{});
}

TEST(MemoStazione, TimingPointNearTheOriginIsNoError) {
  Stations s;
  s.read(station(0, 25, 200));
  EXPECT_EQ(s.error_code(), 0);
}

// The compile pass needs the end cell of every slowdown it starts.
TEST(MemoStazione, StopMarkNeverErasesASlowdownEnd) {
  Stations s;
  s.model.cells[104].kind = kSlowdownEnd;
  s.read(station(5000, 12, 400, 0, 1));
  EXPECT_EQ(s.error_code(), kStopCellUnusable);
  EXPECT_EQ(s.error_site().detail,
            "station at 5000 m: stop cell 104 already holds the end of a slowdown");
  EXPECT_EQ(s.cell(104).kind, kSlowdownEnd);
  EXPECT_EQ(s.cell(103).approach, 0);
}

struct RowCase {
  const char* name;
  int32_t next_board_slot;
  int32_t station_counter;
  int32_t error;
};

class StationRows : public ::testing::TestWithParam<RowCase> {};

// A station is stored and marked in the row of the counter; it is refused
// afterwards when the next row would reach the next board slot.
TEST_P(StationRows, StoreTheStationThenCheckTheNextRow) {
  const RowCase& c = GetParam();
  Stations s;
  s.state.next_board_slot = c.next_board_slot;
  s.state.station_counter = c.station_counter;
  s.read(station(20000, 12, 400));
  EXPECT_EQ(s.error_code(), c.error);
  EXPECT_EQ(s.row(c.station_counter).long3, 20000);
  EXPECT_EQ(s.cell(403).kind, kStationStop);
  EXPECT_EQ(s.cell(403).p1, c.station_counter);
  EXPECT_EQ(s.state.station_counter, c.station_counter + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StationRows,
    ::testing::Values(RowCase{"ThirtyBoardsAllowRow48", 50, 48, 0},
                      RowCase{"ThirtyBoardsRefuseRow49", 50, 49, kTooManyStations},
                      RowCase{"NoBoardsAllowRow78", 80, 78, 0},
                      RowCase{"NoBoardsRefuseRow79", 80, 79, kTooManyStations},
                      // 79 boards leave row 1 free: it takes the station before error 10.
                      RowCase{"SeventyNineBoardsRefuseRow1", 1, 1, kTooManyStations}),
    [](const ::testing::TestParamInfo<RowCase>& test_case) { return test_case.param.name; });

TEST(MemoStazione, TooManyStationsIsDescribed) {
  Stations s;
  s.state.next_board_slot = 50;
  s.state.station_counter = 49;
  s.read(station(20000, 12, 400));
  EXPECT_EQ(s.error_site().detail,
            "station at 20000 m took row 49, the last row stations may use below the indication-board texts");
  EXPECT_EQ(s.error_site().column, 1);
}

// With all 80 rows holding board texts, row 1 is a board's: it is never
// overwritten.
TEST(MemoStazione, NoRowLeftWritesNothing) {
  Stations s;
  s.state.next_board_slot = 0;
  s.model.entries[1].text = "board";
  s.read(station(10000, 12, 400));
  EXPECT_EQ(s.error_code(), kTooManyStations);
  EXPECT_EQ(s.error_site().detail,
            "no row left for a station: the indication-board texts reach down to row 1");
  EXPECT_EQ(s.row(1).text, "board");
  EXPECT_EQ(s.row(1).long3, 0);
}

TEST(MemoStazione, ValuesTooWideForTheirFieldsFail) {
  for (const std::string record : {"stazione, 10000, 256, 400, 0, 0, 0, 0,0,0, 0,0,0, 0, 0, 0, 0, X\r\n",
                                   "stazione, 10000, 12, 400, 0, 0, 0, 40000,0,0, 0,0,0, 0, 0, 0, 0, X\r\n",
                                   "stazione, 10000, 12, 400, 0, 0, -1, 0,0,0, 0,0,0, 0, 0, 0, 0, X\r\n",
                                   "stazione, 10000, 12, 400, 0, 0, 0, 0,0,0, 0,0,0, 0, 600000, 0, 0, X\r\n",
                                   "stazione, 10000, 12, 400, 0, 0, 0, 0,0,0\r\n"}) {
    Stations s;
    EXPECT_THROW(s.read(record), RunFailure) << record;
  }
}

}  // namespace
}  // namespace scenario
