#include "reader/train_source.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "model/error_codes.h"
#include "model/run_failure.h"
#include "reader/reader_context.h"
#include "reader/memorizza_dati.h"
#include "reader/signals.h"
#include "reader/slowdowns.h"
#include "sources/builtin_sources.h"
#include "sources/line_table.h"
#include "support/model_fixtures.h"
#include "support/reader_error.h"
#include "support/source_fixtures.h"

namespace scenario {
namespace {

constexpr int32_t kLastCell = 400;  // a 20000 m route

using testing::ReaderError;
using testing::recorded_error;

// An error of the train source as the tool prints it.
ReaderError at(int32_t code, int line, int column, std::string detail) {
  return {code, "S_T-.txt", line, column, std::move(detail)};
}

// The train half over a source held in memory, on a grid the line half made.
struct TrainRead {
  RouteModel model = testing::model_with_cells(kLastCell);
  ReaderContext context{false};
  ReaderState& state = context.state;
  std::string text;

  TrainRead& read(std::string source) {
    text = std::move(source);
    FieldReader reader(text, "S_T-.txt");
    read_train_source(model, reader, context);
    return *this;
  }

  int32_t error_code() const { return context.recorded ? context.recorded->code : 0; }
  ErrorSite error_site() const { return context.recorded ? context.recorded->site : ErrorSite{}; }

  const Cell& cell(int i) const { return model.cells[static_cast<size_t>(i)]; }

  std::vector<uint8_t> speed_limits() const {
    std::vector<uint8_t> values;
    for (const Cell& c : model.cells) values.push_back(c.speed_limit);
    return values;
  }
};

// The 15 a line half recorded on line of its source.
Diagnostic line_half_fifteen(int line) {
  Diagnostic fifteen{Severity::kError, kPositionError, {}, {}};
  fifteen.site.file = "S_linea.txt";
  fifteen.site.line = line;
  return fifteen;
}

std::string with_general(const std::string& body) { return "[generale]\r\n" + body + "[fine]\r\n"; }

// Cells first..last take value, the rest 0.
std::vector<uint8_t> run_of(std::vector<std::pair<int, uint8_t>> runs) {
  std::vector<uint8_t> values(kLastCell + 1, 0);
  int from = 0;
  for (const auto& [to, value] : runs) {
    for (int i = from; i <= to; ++i) values[static_cast<size_t>(i)] = value;
    from = to + 1;
  }
  return values;
}

TEST(ReadTrainSource, GeneralRowsFillTheTrainRows) {
  TrainRead t;
  t.read(
      with_general("numero vetture,    4\r\npercentuale massa frenata,    120\r\nsabbia,    3\r\n"
                   "orologio,    10              55            30 \r\n"));
  EXPECT_EQ(t.error_code(), 0);
  EXPECT_EQ(t.model.entries[kTotalsRow].long3, 4);
  EXPECT_EQ(t.model.entries[kTotalsRow].long1, 120);
  EXPECT_EQ(t.model.entries[kTrainRow].short1, 3);
  EXPECT_EQ(t.model.entries[kTrainRow].short3, 10);
  EXPECT_EQ(t.model.entries[kTrainRow].short4, 55);
  EXPECT_EQ(t.model.entries[kTrainRow].short5, 30);
}

TEST(ReadTrainSource, KeywordsIgnoreLetterCase) {
  TrainRead t;
  t.read(
      with_general("NUMERO VETTURE, 6\r\nVelocita, 0, 60\r\nSTAZIONE, 10000, 12, 400, 0,0,0, 0,0,0, 0,0,0, "
                   "0, 11,5,0, X\r\n"));
  EXPECT_EQ(t.model.entries[kTotalsRow].long3, 6);
  EXPECT_EQ(t.cell(0).speed_limit, 12);
  EXPECT_EQ(t.model.entries[1].long3, 10000);
  EXPECT_EQ(t.state.station_counter, 2);
}

TEST(ReadTrainSource, BrakedMassNeedsBothWords) {
  TrainRead t;
  t.read(with_general("frenata, 7\r\nmassa frenata, 120\r\n"));
  EXPECT_EQ(t.model.entries[kTotalsRow].long1, 120);
}

TEST(ReadTrainSource, SkipsEverythingBeforeTheHeading) {
  TrainRead t;
  t.read(
      "stazioni a 40700, 43700\r\nnumero vetture, 9\r\n[GENERALE]\r\n[stazioni]\r\nnumero vetture, "
      "4\r\n[fine]\r\n");
  EXPECT_EQ(t.model.entries[kTotalsRow].long3, 4);
}

TEST(ReadTrainSource, WithoutHeadingGoesStraightToTheEndProcessing) {
  TrainRead t;
  t.state.previous_adhesion = 100;
  t.read("stazioni a 40700, 43700, numero vetture, 9\r\n");
  EXPECT_EQ(t.error_code(), 0);
  EXPECT_EQ(t.model.entries[kTotalsRow].long3, 0);
  EXPECT_EQ(t.cell(0).adhesion, 100);
}

TEST(ReadTrainSource, ZeroBytesIsAReadFailure) {
  TrainRead t;
  EXPECT_THROW(t.read(""), RunFailure);
}

struct CommentCase {
  const char* name;
  const char* body;
  int32_t coaches;
};

class CommentTokens : public ::testing::TestWithParam<CommentCase> {};

TEST_P(CommentTokens, AtMostTwoInARowAreDropped) {
  TrainRead t;
  t.read(with_general(GetParam().body));
  EXPECT_EQ(t.model.entries[kTotalsRow].long3, GetParam().coaches);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommentTokens,
    ::testing::Values(CommentCase{"HyphenLine", "---------------\r\nnumero vetture, 4\r\n", 4},
                      // The second comment token, keyword and all, is dropped.
                      CommentCase{"SecondDropped", "- a, - b vetture, 4\r\n", 0},
                      // The third is tested and holds a keyword.
                      CommentCase{"ThirdTested", "- a, - b, - c vetture, 4\r\n", 4},
                      CommentCase{"WordOfAComment", "vetture-4, 5\r\n", 0}),
    [](const ::testing::TestParamInfo<CommentCase>& test_case) { return test_case.param.name; });

TEST(ReadTrainSource, KeywordAsTheLastFieldIsNotActedOn) {
  TrainRead t;
  t.read("[generale]\r\nnumero vetture");
  EXPECT_EQ(t.error_code(), 0);
}

TEST(ReadTrainSource, LastLineMayBeACompleteRecord) {
  TrainRead t;
  t.read("[generale]\r\nnumero vetture, 4\r\nsabbia, 2\r\n");
  EXPECT_EQ(t.model.entries[kTrainRow].short1, 2);
}

TEST(ReadTrainSource, RecordCutShortIsAReadFailure) {
  TrainRead t;
  t.read("[generale]\r\nsegnale, 1500, 2, 4\r\n[fine]\r\n");
  EXPECT_EQ(t.error_code(), kRunFailure);
}

TEST(ReadTrainSource, SpeedLimitsRunFromTheirCellToTheNextRecord) {
  TrainRead t;
  t.read(with_general("velocita,       0,    60\r\nvelocita,    1300,   140\r\nvelocita,    5000,   90\r\n"));
  EXPECT_EQ(t.speed_limits(), run_of({{25, 12}, {99, 28}, {kLastCell - 3, 18}}));
}

TEST(ReadTrainSource, AdhesionFillsEveryCellButTheLastThree) {
  TrainRead t;
  t.read(with_general("aderenza,   0,    100\r\n"));
  for (int i = 0; i <= kLastCell; ++i) EXPECT_EQ(t.cell(i).adhesion, i <= kLastCell - 3 ? 100 : 0) << i;
}

// The format starts both lists at 0; cells before a later first record get 0.
TEST(ReadTrainSource, CellsBeforeTheFirstRecordGetZero) {
  TrainRead t;
  t.read(with_general("velocita, 500, 60\r\n"));
  EXPECT_EQ(t.speed_limits(), run_of({{9, 0}, {kLastCell - 3, 12}}));
}

// A record behind the fill position writes nothing; its value carries on.
TEST(ReadTrainSource, RecordsOutOfOrderNeverMoveTheFillBack) {
  TrainRead t;
  t.read(with_general("velocita, 0, 60\r\nvelocita, 1000, 100\r\nvelocita, 500, 50\r\n"));
  EXPECT_EQ(t.speed_limits(), run_of({{19, 12}, {kLastCell - 3, 10}}));
}

struct SpeedCase {
  int32_t speed;
  bool fits;
};

class SpeedUnits : public ::testing::TestWithParam<SpeedCase> {};

TEST_P(SpeedUnits, FifthMustFitEightBitsWhenFilled) {
  TrainRead t;
  const std::string source = with_general("velocita, 0, " + std::to_string(GetParam().speed) + "\r\n");
  if (GetParam().fits) {
    t.read(source);
    EXPECT_EQ(t.error_code(), 0);
  } else {
    t.read(source);
    EXPECT_EQ(t.error_code(), kRunFailure);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, SpeedUnits,
                         ::testing::Values(SpeedCase{1277, true}, SpeedCase{1278, false}, SpeedCase{-2, true},
                                           SpeedCase{-3, false}));

TEST(ReadTrainSource, RoundsSpeedFifthsToNearest) {
  TrainRead t;
  t.read(with_general("velocita, 0, 62\r\nvelocita, 100, 63\r\nvelocita, 200, 1277\r\n"));
  EXPECT_EQ(t.cell(0).speed_limit, 12);
  EXPECT_EQ(t.cell(2).speed_limit, 13);
  EXPECT_EQ(t.cell(4).speed_limit, 255);
}

// A value too wide is only a failure once it is written into a cell.
TEST(ReadTrainSource, WideValueNeverFilledIsNoFailure) {
  TrainRead t;
  t.read(with_general("aderenza, 0, 100\r\naderenza, 0, 300\r\naderenza, 0, 90\r\n"));
  EXPECT_EQ(t.error_code(), 0);
  EXPECT_EQ(t.cell(0).adhesion, 90);
  EXPECT_EQ(TrainRead().read(with_general("aderenza, 0, 300\r\n")).error_code(), kRunFailure);
}

TEST(ReadTrainSource, PositionBeyondTheGridIsDescribed) {
  TrainRead t;
  t.read(with_general("velocita, 0, 60\r\nvelocita, 19950, 90\r\n"));
  EXPECT_EQ(recorded_error(t.context.recorded),
            at(kPositionError, 3, 11,
               "speed limit at 19950 m lies beyond the grid: positions reach 19900 m at most (last cell 400)"));
  EXPECT_EQ(t.error_site().excerpt.text, "velocita, 19950, 90");
}

struct BeyondCase {
  const char* record;  // on line 4
  int column;
  const char* detail;
};

class BeyondTheGrid : public ::testing::TestWithParam<BeyondCase> {};

// Error 15 ends the main loop, yet the fills are completed.
TEST_P(BeyondTheGrid, EndsTheReadingButTheFillsStillRun) {
  const BeyondCase& c = GetParam();
  TrainRead t;
  t.read(with_general(std::string("velocita, 0, 60\r\naderenza, 0, 100\r\n") + c.record +
                      "\r\nnumero vetture, 4\r\n"));
  EXPECT_EQ(recorded_error(t.context.recorded), at(kPositionError, 4, c.column, c.detail));
  EXPECT_EQ(t.model.entries[kTotalsRow].long3, 0);
  EXPECT_EQ(t.speed_limits(), run_of({{kLastCell - 3, 12}}));
  EXPECT_EQ(t.cell(kLastCell - 3).adhesion, 100);
}

INSTANTIATE_TEST_SUITE_P(
    Records, BeyondTheGrid,
    ::testing::Values(
        BeyondCase{"velocita, 19950, 90", 11,
                   "speed limit at 19950 m lies beyond the grid: positions reach 19900 m at most (last cell 400)"},
        BeyondCase{"aderenza, 19950, 90", 11,
                   "adhesion at 19950 m lies beyond the grid: positions reach 19900 m at most (last cell 400)"},
        BeyondCase{"segnale, 19950, 2, 4, 0, 0, 0, 2, 2,0,0, 0", 10,
                   "signal at 19950 m lies beyond the grid: positions reach 19900 m at most (last cell 400)"},
        BeyondCase{"rallentamento, 19950, 30, 500, 0, 0, 0", 16,
                   "slowdown at 19950 m lies beyond the grid: positions reach 19900 m at most (last cell 400)"},
        // The start passes, the end cell lies beyond the grid: the length is at fault.
        BeyondCase{"rallentamento, 19000, 30, 1000, 0, 0, 0", 27,
                   "slowdown at 19000 m, 1000 m long: end cell 401 lies beyond the last cell 400"},
        BeyondCase{"abbattimento, 19950, 30", 15,
                   "speed reduction point at 19950 m lies beyond the grid: positions reach 19900 m at most (last "
                   "cell 400)"},
        BeyondCase{"stazione, 19250, 12, 400, 0,0,0, 0,0,0, 0,0,0, 0, 11,5,0, X", 11,
                   "station at 19250 m lies within 800 m of the end of the grid (last cell 400, at 20000 m)"}));

TEST(ReadTrainSource, PositionCheckIsExact) {
  TrainRead t;
  t.read(with_general("segnale, 19900, 2, 4, 0, 0, 0, 2, 2,0,0, 0\r\n"));
  EXPECT_EQ(t.error_code(), 0);
  EXPECT_EQ(t.cell(399).kind, kSignal);
}

struct OriginCase {
  const char* name;
  const char* record;  // on line 2
  ReaderError error;   // none when the record is placed
  uint8_t cell0;       // kind of cell 0 afterwards
};

class BeforeTheOrigin : public ::testing::TestWithParam<OriginCase> {};

// A position a little before the origin still rounds to cell 0 and is placed
// there; one whose cell would lie before cell 0 is refused.
TEST_P(BeforeTheOrigin, PlacesOnCellZeroOrRefuses) {
  const OriginCase& c = GetParam();
  TrainRead t;
  t.read(with_general(std::string(c.record) + "\r\n"));
  EXPECT_EQ(recorded_error(t.context.recorded), c.error);
  EXPECT_EQ(t.cell(0).kind, c.cell0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BeforeTheOrigin,
    ::testing::Values(
        // -75 / 50 + 1 = -0.5 goes to the even 0; -76 gives cell -1.
        OriginCase{"SignalInCellZero", "segnale, -75, 1, 3, 0, 0, 0, 0, 0,0,0, 0", {}, kSignal},
        OriginCase{"SignalBeforeCellZero", "segnale, -76, 1, 3, 0, 0, 0, 0, 0,0,0, 0",
                   at(kPositionError, 2, 10, "signal at -76 m lies before the route origin: its cell would be -1"),
                   kNothing},
        OriginCase{"SlowdownInCellZero", "rallentamento, -50, 30, 500, 0, 0, 0", {}, kSlowdownStart},
        OriginCase{"SlowdownBeforeCellZero", "rallentamento, -100, 30, 500, 0, 0, 0",
                   at(kPositionError, 2, 16, "slowdown at -100 m lies before the route origin: its cell would be -1"),
                   kNothing},
        // -25 / 50 = -0.5 goes to 0; -26 gives cell -1.
        OriginCase{"ReductionInCellZero", "abbattimento, -25, 30", {}, kReductionValue},
        OriginCase{"ReductionBeforeCellZero", "abbattimento, -26, 30",
                   at(kPositionError, 2, 15,
                      "speed reduction point at -26 m lies before the route origin: its cell would be -1"),
                   kNothing}),
    [](const ::testing::TestParamInfo<OriginCase>& test_case) { return test_case.param.name; });

struct ReductionCase {
  const char* name;
  uint8_t kind_before;
  int32_t value;
  ReaderError error;  // none when the point is placed
  uint8_t kind;
  int16_t p1;
};

class SpeedReduction : public ::testing::TestWithParam<ReductionCase> {};

// "abbattimento, 1500, value" takes cell 30.
TEST_P(SpeedReduction, TakesTheCellOfItsPosition) {
  const ReductionCase& c = GetParam();
  TrainRead t;
  t.model.cells[30].kind = c.kind_before;
  t.model.cells[30].p1 = 77;
  t.read(with_general("abbattimento, 1500, " + std::to_string(c.value) + "\r\n"));
  EXPECT_EQ(recorded_error(t.context.recorded), c.error);
  EXPECT_EQ(t.cell(30).kind, c.kind);
  EXPECT_EQ(t.cell(30).p1, c.p1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SpeedReduction,
    ::testing::Values(ReductionCase{"WithValue", kNothing, 30, {}, kReductionValue, 30},
                      ReductionCase{"WithoutValue", kNothing, 0, {}, kReductionPlain, 77},
                      ReductionCase{"NegativeValue", kNothing, -5, {}, kReductionPlain, 77},
                      ReductionCase{"OnTunnelMarker", kTunnelMarker, 30, {}, kReductionValue, 30},
                      ReductionCase{"OnSignal", kSignal, 30,
                                    at(kReductionCellTaken, 2, 15,
                                       "speed reduction point at 1500 m: cell 30 already holds a signal"),
                                    kSignal, 77}),
    [](const ::testing::TestParamInfo<ReductionCase>& test_case) { return test_case.param.name; });

// The kind goes in before the value: a value too wide fails with the kind written.
TEST(ReadTrainSource, SpeedReductionValueMustFitSixteenBits) {
  TrainRead t;
  t.read(with_general("abbattimento, 1500, 40000\r\n"));
  EXPECT_EQ(t.error_code(), kRunFailure);
  EXPECT_EQ(t.cell(30).kind, kReductionValue);
  EXPECT_EQ(t.cell(30).p1, 0);
}

// A refusal other than 15 stops at once: the fills are not completed.
TEST(ReadTrainSource, RefusedSignalStopsWithoutEndProcessing) {
  TrainRead t;
  t.read(
      with_general("velocita, 0, 60\r\nsegnale,   1500,   2, 4, 0,  0, 0,    2,  2,0,0, 0\r\n"
                   "segnale,   1500,   1, 3, 0,  0, 0,    0,  0,0,0, 0\r\nnumero vetture, 4\r\n"));
  EXPECT_EQ(recorded_error(t.context.recorded), at(kSignalCellTaken, 4, 12, "signal at 1500 m: cell 31 already holds a signal"));
  EXPECT_EQ(t.error_site().excerpt.text, "segnale,   1500,   1, 3, 0,  0, 0,    0,  0,0,0, 0");
  EXPECT_EQ(t.cell(0).speed_limit, 0);
  EXPECT_EQ(t.model.entries[kTotalsRow].long3, 0);
}

// A record may run on over several lines; the diagnostic stays on the line
// where the record began, under the keyword.
TEST(ReadTrainSource, ARefusalAboutAFieldOnALaterLinePointsAtTheKeyword) {
  TrainRead t;
  t.read(with_general("segnale, 1500, 2, 4, 0, 0, 0, 2, 2,0,0, 0\r\nsegnale\r\n1500, 2, 4, 0, 0, 0, 2, 2,0,0, 0\r\n"));
  EXPECT_EQ(recorded_error(t.context.recorded), at(kSignalCellTaken, 3, 1, "signal at 1500 m: cell 31 already holds a signal"));
  EXPECT_EQ(t.error_site().excerpt.text, "segnale");
}

struct SlowdownSiteCase {
  const char* name;
  const char* record;  // on line 3
  ReaderError error;
};

class SlowdownSite : public ::testing::TestWithParam<SlowdownSiteCase> {};

// A cell 31 signal is in the way; the caret goes under the start, or under
// the length when the end cell is at fault.
TEST_P(SlowdownSite, PointsAtTheFieldAtFault) {
  TrainRead t;
  t.read(with_general(std::string("segnale, 1500, 2, 4, 0, 0, 0, 2, 2,0,0, 0\r\n") + GetParam().record +
                      "\r\n"));
  EXPECT_EQ(recorded_error(t.context.recorded), GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SlowdownSite,
    ::testing::Values(
        SlowdownSiteCase{"Start", "rallentamento, 1500, 30,  500, 0, 0, 0",
                         at(kStartCellTaken, 3, 16, "slowdown at 1500 m: start cell 31 already holds a signal")},
        SlowdownSiteCase{"End", "rallentamento, 1000, 30,  500, 0, 0, 0",
                         at(kEndCellTaken, 3, 27,
                            "slowdown at 1000 m, 500 m long: end cell 31 already holds a signal")},
        SlowdownSiteCase{"EndBeyond", "rallentamento, 19000, 30, 2000, 0, 0, 0",
                         at(kPositionError, 3, 27,
                            "slowdown at 19000 m, 2000 m long: end cell 421 lies beyond the last cell 400")}),
    [](const ::testing::TestParamInfo<SlowdownSiteCase>& test_case) { return test_case.param.name; });

TEST(ReadTrainSource, SlowdownRecordIsLaidIntoTheGrid) {
  TrainRead t;
  t.read(with_general("rallentamento, 10000, 30, 800, 1, 1, 2\r\n"));
  EXPECT_EQ(t.error_code(), 0);
  EXPECT_EQ(t.cell(177).kind, kWarningBoard);
  EXPECT_EQ(t.cell(201).kind, kSlowdownStart);
  EXPECT_EQ(t.cell(217).kind, kSlowdownEnd);
  EXPECT_EQ(t.cell(173).p2, 4);
}

// Error 20 stops the reading like the others.
TEST(ReadTrainSource, PreWarningRefusalStops) {
  TrainRead t;
  t.model.cells[175].kind = kStationStop;
  t.read(with_general("rallentamento, 10000, 30, 800, 1, 1, 2\r\nnumero vetture, 4\r\n"));
  EXPECT_EQ(recorded_error(t.context.recorded),
            at(kPreWarningCellTaken, 2, 16,
               "slowdown at 10000 m: pre-warning cell 175 already holds a station stop mark"));
  EXPECT_EQ(t.model.entries[kTotalsRow].long3, 0);
}

TEST(ReadTrainSource, StationRefusalStops) {
  TrainRead t;
  t.read(
      with_general("stazione, 10025, 12, 400, 0,0,0, 0,0,0, 0,0,0, 0, 11,5,0, X\r\nnumero vetture, 4\r\n"));
  EXPECT_EQ(recorded_error(t.context.recorded),
            at(kStationOffGrid, 2, 11, "station at 10025 m: position is not a multiple of 50 m"));
  EXPECT_EQ(t.model.entries[kTotalsRow].long3, 0);
}

// A signal after a station is refused on its stop cell.
TEST(ReadTrainSource, SignalOnAStationStopIsRefused) {
  TrainRead t;
  t.read(
      with_general("stazione, 5000, 12, 400, 0,0,1, 0,0,0, 0,0,0, 0, 11,5,0, X\r\n"
                   "segnale, 5150, 1, 3, 0, 0, 0, 0, 0,0,0, 0\r\n"));
  EXPECT_EQ(recorded_error(t.context.recorded),
            at(kSignalCellTaken, 3, 10, "signal at 5150 m: cell 104 already holds a station stop mark"));
}

// A value the cells take only when the next record of its kind arrives, or
// a field missing before the next record, is blamed on the record at fault:
// the failure points at its field.
TEST(ReadTrainSource, FailuresAreBlamedOnTheRecordAtFault) {
  struct Case {
    const char* body;
    FieldSite at;
    std::string what;
  };
  const Case cases[] = {
      {"velocita, 0, 100\r\nvelocita, 1000, -140\r\nvelocita, 2000, 100\r\n", {3, 17},
       "speed limit -140 km/h does not fit a cell: it may run from 0 to 1275 km/h"},
      {"aderenza, 0, 300\r\n", {2, 14}, "adhesion 300 does not fit a cell: it may run from 0 to 255"},
      {"segnale, 10500, 1, 3, 0, 0, 0, 0, 0, 0, 0\r\nsegnale, 12500, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0\r\n", {2, 42},
       "the signal record on line 2 has 10 of its 11 numbers; line 3 begins the next record"},
      {"stazione, 5000, 12, 400, 0,0,1, 0,0,0, 0,0,0, 0, 11,5\r\n", {2, 54},
       "the station record on line 2 has 15 of its 17 values; line 3 begins the next record"},
  };
  for (const Case& c : cases) {
    TrainRead t;
    t.read(with_general(c.body));
    EXPECT_EQ(recorded_error(t.context.recorded), at(kRunFailure, c.at.line, c.at.column, c.what)) << c.body;
  }
}

// A record may run over several lines: a bad number there is no missing field.
TEST(ReadTrainSource, BadNumberOnALaterLineOfItsRecordIsNoMissingField) {
  TrainRead t;
  t.read(with_general("segnale\r\n15x00, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0\r\n"));
  EXPECT_EQ(recorded_error(t.context.recorded), at(kRunFailure, 3, 1, "expected a number, found \"15x00\""));
}

TEST(ReadTrainSource, LineHalfErrorFifteenIsNoRefusal) {
  TrainRead t;
  t.context.recorded = line_half_fifteen(7);
  t.read(
      with_general("segnale, 1500, 2, 4, 0, 0, 0, 2, 2,0,0, 0\r\nrallentamento, 10000, 30, 800, 1, 1, 2\r\n"
                   "abbattimento, 2000, 30\r\nstazione, 5000, 12, 400, 0,0,0, 0,0,0, 0,0,0, 0, 11,5,0, X\r\n"
                   "numero vetture, 4\r\n"));
  EXPECT_EQ(recorded_error(t.context.recorded), (ReaderError{kPositionError, "S_linea.txt", 7, 0, ""}));
  EXPECT_EQ(t.model.entries[kTotalsRow].long3, 4);
  EXPECT_EQ(t.cell(31).kind, kSignal);
  EXPECT_EQ(t.cell(201).kind, kSlowdownStart);
  EXPECT_EQ(t.cell(40).kind, kReductionValue);
  EXPECT_EQ(t.model.entries[1].long3, 5000);
}

TEST(ReadTrainSource, OwnErrorReplacesTheLineHalfsFifteen) {
  TrainRead t;
  t.context.recorded = line_half_fifteen(0);
  t.read(with_general(
      "segnale, 1500, 2, 4, 0, 0, 0, 2, 2,0,0, 0\r\nsegnale, 1500, 2, 4, 0, 0, 0, 2, 2,0,0, 0\r\n"));
  EXPECT_EQ(recorded_error(t.context.recorded), at(kSignalCellTaken, 3, 10, "signal at 1500 m: cell 31 already holds a signal"));
}

TEST(ReadTrainSource, ProgressiveOffTheCellsReplacesFifteen) {
  TrainRead t;
  t.model.scenario_name = "S";
  t.model.train_number = "T";
  t.model.entries[kProgressiveDueRow].long1 = 34010;
  t.model.entries[kProgressiveDueRow].long2 = -30500;
  t.read(with_general("velocita, 19950, 90\r\n"));
  EXPECT_EQ(recorded_error(t.context.recorded),
            (ReaderError{kUnevenProgressive, "S_linea.txt", 0, 0,
                         "kilometric progressive system in row 82 starts at 34010 m with offset -30500 m: both must "
                         "be multiples of 50 m"}));
}

TEST(ReadTrainSource, ProgressiveOffsetIsCheckedToo) {
  TrainRead t;
  t.model.entries[kProgressiveUnoRow].long2 = 35025;
  t.read(with_general(""));
  EXPECT_EQ(t.error_code(), kUnevenProgressive);
}

// Both sources through memorizza_dati, as the package writes them.
class BuiltInSources : public ::testing::Test, protected testing::RunInTempDir {
 protected:
  BuiltInSources() : RunInTempDir(kBuiltInScenario, kBuiltInTrain) {}
  void SetUp() override {
    write_table(files.line_source, line_source_table());
    write_table(files.train_source, train_source_table());
    read_sources(SourcePolicy::kDelete);
  }
};

TEST_F(BuiltInSources, ReadWithoutError) {
  EXPECT_EQ(error_code(), 0) << error_site().detail;
  EXPECT_FALSE(std::filesystem::exists(files.train_source));
  EXPECT_EQ(model.entries[kTotalsRow].long3, 4);
  EXPECT_EQ(model.entries[kTotalsRow].long1, 120);
  EXPECT_EQ(model.entries[kTrainRow].short1, 0);
  EXPECT_EQ(model.entries[kTrainRow].short3, 10);
  EXPECT_EQ(model.entries[kTrainRow].short4, 55);
  EXPECT_EQ(model.entries[kTrainRow].short5, 30);
  // "velocita, 0, 60" and "velocita, 1300, 140"
  EXPECT_EQ(model.cells[25].speed_limit, 12);
  EXPECT_EQ(model.cells[26].speed_limit, 28);
}

TEST_F(BuiltInSources, StationsFillRowsOneToTwentyFour) {
  for (int k = 1; k <= 24; ++k) EXPECT_FALSE(model.entries[static_cast<size_t>(k)].text.empty()) << k;
  EXPECT_EQ(model.entries[25], Entry{});
  EXPECT_EQ(model.entries[1].text, "DORVALLO");
  EXPECT_EQ(model.entries[1].long4, 39420);
}

TEST_F(BuiltInSources, SixtyOneSignalsAndAdhesionUpToTheLastThreeCells) {
  size_t signals = 0;
  for (const Cell& cell : model.cells) signals += cell.kind == kSignal ? 1 : 0;
  EXPECT_EQ(signals, 61u);
  const int64_t last = model.last_cell;
  for (int64_t i = 0; i <= last; ++i) {
    EXPECT_EQ(model.cells[static_cast<size_t>(i)].adhesion, i <= last - 3 ? 100 : 0) << i;
  }
}

struct ExitCase {
  const char* name;
  std::string general;  // extra rows of the line source's general section
  std::string track;    // its track rows
  std::string train;    // rows of the train source after its heading
  int32_t code;
  int32_t coaches;  // row 84 long3: whether the train source was read past its first record
};

class TrainExits : public ::testing::TestWithParam<ExitCase> {};

// Whichever way the train half ends, both sources are gone afterwards.
TEST_P(TrainExits, LeaveNeitherSource) {
  const ExitCase& c = GetParam();
  testing::RunInTempDir run("S", "T");
  testing::write_sources(
      run.files, "[generale]\r\nlunghezza percorso, 20000\r\n" + c.general + "[curve]\r\n" + c.track + "[fine]\r\n",
      "[generale]\r\n" + c.train + "vetture, 4\r\n[fine]\r\n");
  run.read_sources(SourcePolicy::kDelete);
  EXPECT_EQ(run.error_code(), c.code) << run.error_site().detail;
  EXPECT_EQ(run.model.entries[kTotalsRow].long3, c.coaches);
  EXPECT_EQ(testing::names_in(run.dir.path()), std::set<std::string>{});
}

// The route is 20000 m long: last cell 540, records up to 26900 m.
INSTANTIATE_TEST_SUITE_P(
    Cases, TrainExits,
    ::testing::Values(
        ExitCase{"Normal", "", "", "", 0, 4},
        ExitCase{"OwnFifteen", "", "", "velocita, 26950, 90\r\n", kPositionError, 0},
        ExitCase{"Refusal", "", "", "abbattimento, 1500, 0\r\nabbattimento, 1500, 0\r\n", kReductionCellTaken, 0},
        ExitCase{"LineHalfFifteenKept", "", "pendenza, 26950, 1\r\n", "", kPositionError, 4},
        ExitCase{"TwoReplacesTheLineHalfsFifteen", "progressiva chilometrica uno, 0, 1025, 0\r\n",
                 "pendenza, 26950, 1\r\n", "", kUnevenProgressive, 4},
        ExitCase{"TwoAfterTheOwnFifteen", "progressiva chilometrica uno, 0, 1025, 0\r\n", "",
                 "velocita, 26950, 90\r\n", kUnevenProgressive, 0},
        ExitCase{"Trap", "", "", "sabbia, 40000\r\n", kRunFailure, 0}),
    [](const ::testing::TestParamInfo<ExitCase>& test_case) { return test_case.param.name; });

TEST(MemorizzaDati, ZeroByteTrainSourceIsError25) {
  testing::RunInTempDir run("S", "T");
  const std::vector<std::string_view> line = {"[generale]", "lunghezza percorso, 20000", "[curve]", "[fine]",
                                              kEndMarker};
  write_table(run.files.line_source, line);
  write_table(run.files.train_source, std::vector<std::string_view>{kEndMarker});
  run.read_sources(SourcePolicy::kDelete);
  EXPECT_EQ(run.error_code(), kRunFailure);
  EXPECT_FALSE(std::filesystem::exists(run.files.train_source));
}

}  // namespace
}  // namespace scenario
