#include "reader/line_source.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "io/replace_file.h"
#include "model/error_codes.h"
#include "model/trace_walk.h"
#include "reader/memorizza_dati.h"
#include "sources/builtin_sources.h"
#include "sources/line_table.h"
#include "support/reader_error.h"
#include "support/source_fixtures.h"

namespace scenario {
namespace {

constexpr char kMinimalTrain[] = "[generale]\r\n[fine]\r\n";

// A line source of route length 1000 m: extended length 8000 m, last cell
// 160, track records up to 7900 m. The general rows start on line 4, and with
// none the track rows start on line 5.
std::string line_source(const std::string& track, const std::string& general = "") {
  return "Linea di prova, commento libero\r\n[generale]\r\nlunghezza percorso,    1000\r\n" + general +
         "[curve]\r\n" + track + "[fine]\r\n";
}

class LineSourceReading : public ::testing::Test, protected testing::RunInTempDir {
 protected:
  LineSourceReading() : RunInTempDir("S", "T") { model.write_trace = 1; }

  void read(const std::string& line, const std::string& train = kMinimalTrain,
            SourcePolicy policy = SourcePolicy::kDelete) {
    testing::write_sources(files, line, train);
    read_sources(policy);
  }

  bool line_left() const { return std::filesystem::exists(files.line_source); }
  bool train_left() const { return std::filesystem::exists(files.train_source); }
  const Entry& row(int i) const { return model.entries[static_cast<size_t>(i)]; }
  const Cell& cell(int i) const { return model.cells.at(static_cast<size_t>(i)); }
};

// Turning runs of the trace: each maximal run of points bent by the same
// curvature, told from the cross product of successive step vectors.
int curve_runs(const Trace& trace, int32_t last_point) {
  int runs = 0;
  long previous = 0;
  for (size_t m = 2; m <= static_cast<size_t>(last_point); ++m) {
    const double ax = trace.x[m - 1].value - trace.x[m - 2].value;
    const double ay = trace.y[m - 1].value - trace.y[m - 2].value;
    const double bx = trace.x[m].value - trace.x[m - 1].value;
    const double by = trace.y[m].value - trace.y[m - 1].value;
    // Rounded to tenths of the smallest curvature, 0.0001 rad per metre.
    const long turn = std::lround((ay * bx - ax * by) / (ax * ax + ay * ay) * 1e5);
    if (turn != 0 && turn != previous) ++runs;
    previous = turn;
  }
  return runs;
}

TEST_F(LineSourceReading, ReadsTheBuiltInLineSource) {
  testing::write_sources(files, table_text(line_source_table()), kMinimalTrain);
  read_sources(SourcePolicy::kDelete);

  EXPECT_EQ(error_code(), 0) << error_site().detail;
  EXPECT_EQ(row(kTotalsRow).long2, 117000);
  EXPECT_EQ(model.extended_length, 124000);
  EXPECT_EQ(model.last_cell, 2480);
  EXPECT_EQ(model.cells.size(), 2481u);
  EXPECT_EQ((std::array{row(81).long1, row(81).long2, row(81).long3}), (std::array{34000, -30500, 0}));
  EXPECT_EQ((std::array{row(82).long1, row(82).long2, row(82).long3}), (std::array{0, 35100, 1}));
  EXPECT_EQ((std::array{row(83).long1, row(83).long2, row(83).long3}), (std::array{0, 0, 0}));
  EXPECT_EQ((std::array{row(85).long1, row(85).long2, row(85).long3}), (std::array{1, 94000, 70000}));
  EXPECT_EQ((std::array{row(86).long1, row(86).long2, row(86).long3}), (std::array{0, 0, 0}));
  EXPECT_EQ(row(85).text, "S");
  EXPECT_EQ(row(86).text, "T");

  const Trace trace = trace_points(model.plan_trace);
  EXPECT_EQ(curve_runs(trace, 123998), 70);
  EXPECT_EQ(trace.x[123999], TraceValue{});
  EXPECT_NE(trace.x[123998].tag, TraceValue::kEmpty);
  EXPECT_EQ(model.tunnel_count, 27);
  int speed_boards = 0;
  int text_boards = 0;
  int gradient_changes = 0;
  for (size_t i = 0; i < model.cells.size(); ++i) {
    speed_boards += model.cells[i].kind == kSpeedBoard;
    text_boards += model.cells[i].kind == kTextBoard;
    if (i > 0 && i <= 2477) gradient_changes += model.cells[i].gradient != model.cells[i - 1].gradient;
  }
  EXPECT_EQ(speed_boards, 24);
  EXPECT_EQ(text_boards, 30);
  // 22 records, each but the first changing the gradient.
  EXPECT_EQ(gradient_changes, 21);
  for (size_t i = 0; i <= 2477; ++i) ASSERT_NE(model.cells[i].gradient, 0) << i;
  EXPECT_EQ(model.cells[2478].gradient, 0);
  EXPECT_FALSE(row(80).text.empty());
  EXPECT_FALSE(row(51).text.empty());
  EXPECT_TRUE(row(50).text.empty());
  EXPECT_FALSE(line_left());
  EXPECT_FALSE(train_left());
}

TEST_F(LineSourceReading, KeepsAnAuthorsSources) {
  read(line_source("pendenza, 0, 2\r\n"), kMinimalTrain, SourcePolicy::kKeep);
  EXPECT_EQ(error_code(), 0);
  EXPECT_EQ(cell(0).gradient, 102);
  EXPECT_TRUE(line_left());
  EXPECT_TRUE(train_left());

  read("", kMinimalTrain, SourcePolicy::kKeep);
  EXPECT_EQ(error_code(), kRunFailure);
  EXPECT_TRUE(line_left());
  EXPECT_TRUE(train_left());
}

// What became of the train source after the reading.
enum class Train { kLeftUnread, kRead, kDeletedByTheTrap };

struct ErrorCase {
  const char* name;
  std::string line;
  testing::ReaderError error;
  Train train;
};

class LineSourceErrors : public LineSourceReading, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(LineSourceErrors, RecordTheWholeDiagnosticWhereItArose) {
  const ErrorCase& c = GetParam();
  // A train source whose one row shows whether it was read.
  read(c.line, "[generale]\r\nvetture, 4\r\n[fine]\r\n");
  EXPECT_EQ(testing::recorded_error(report), c.error);
  EXPECT_FALSE(line_left());
  EXPECT_EQ(train_left(), c.train == Train::kLeftUnread);
  EXPECT_EQ(row(kTotalsRow).long3, c.train == Train::kRead ? 4 : 0);
}

// The error of the line source as the tool prints it.
testing::ReaderError at(int32_t code, int site_line, int site_column, std::string detail) {
  return {code, "S_linea.txt", site_line, site_column, std::move(detail)};
}

constexpr char kNoHeading[] = "the file ends before a field holding the heading \"[generale]\"";

INSTANTIATE_TEST_SUITE_P(
    Cases, LineSourceErrors,
    ::testing::Values(
        ErrorCase{"NoGeneralHeading", "commento\r\n[curve]\r\npendenza, 0, 0\r\n",
                  at(kNoGeneralHeading, 3, 14, kNoHeading), Train::kLeftUnread},
        ErrorCase{"GeneralHeadingAsLastField", "commento\r\n[generale]\r\n", at(kNoGeneralHeading, 2, 1, kNoHeading),
                  Train::kLeftUnread},
        ErrorCase{"RouteTooLong", "[generale]\r\nlunghezza percorso, 1000001\r\n[curve]\r\n[fine]\r\n",
                  at(kRouteTooLong, 2, 21, "route length 1000001 m is longer than the 1000000 m a route may have"),
                  Train::kLeftUnread},
        ErrorCase{"FirstRepetitionOffGrid", line_source("", "ripetizione segnali 4 codici, 1025, 2000\r\n"),
                  at(kFirstRepetitionOffGrid, 4, 31,
                     "signal repetition: first position 1025 m is not a multiple of 50 m"),
                  Train::kLeftUnread},
        ErrorCase{"SecondRepetitionOffGrid", line_source("", "ripetizione segnali 4 codici, 1000, 1025\r\n"),
                  at(kSecondRepetitionOffGrid, 4, 37,
                     "signal repetition: second position 1025 m is not a multiple of 50 m"),
                  Train::kLeftUnread},
        ErrorCase{"NoCodeCount", line_source("", "ripetizione segnali codici, 1000, 2000\r\n"),
                  at(kNoCodeCount, 4, 1,
                     "signal repetition: keyword \"ripetizione segnali codici\" names neither 4 nor 9 codes"),
                  Train::kLeftUnread},
        ErrorCase{"CurveWithoutClass", line_source("curvad4, 100, 50\r\ncurva, 300, 50\r\n"),
                  at(kTraceError, 6, 1, "curve at 300 m: keyword \"curva\" holds no class digit 1 to 6"),
                  Train::kLeftUnread},
        ErrorCase{"RecordBeyondTheRoute", line_source("pendenza, 0, 1\r\npendenza, 7950, 2\r\n"),
                  at(kPositionError, 6, 11,
                     "gradient at 7950 m lies beyond the route: records stand up to 7900 m (last cell 160)"),
                  Train::kRead},
        ErrorCase{"CurveEndingBeyondTheTrace", line_source("curvad4, 7900, 99\r\n"),
                  at(kPositionError, 5, 10,
                     "curve at 7900 m: its end at 7999 m lies beyond the last plan trace point 7998"),
                  Train::kRead},
        ErrorCase{"TextBoardOnATakenCell",
                  line_source("cartello_indicatore, 1000, (A)\r\ncartello_indicatore, 1010, (B)\r\n"),
                  at(kTextBoardTaken, 6, 22, "indication board at 1010 m: cell 21 already holds an indication board"),
                  Train::kLeftUnread},
        ErrorCase{"SpeedBoardOnATakenCell",
                  line_source("cartello_indicatore, 1000, (A)\r\nindicatori_vmax, 1000, 100,100,100,0, "
                              "100,100,100,0\r\n"),
                  at(kSpeedBoardTaken, 6, 18, "speed board at 1000 m: cell 21 already holds an indication board"),
                  Train::kLeftUnread},
        ErrorCase{"EmptySource", "", at(kRunFailure, 1, 1, "the file is empty"),
                  Train::kDeletedByTheTrap},
        ErrorCase{"NoLengthRow", "[generale]\r\nsfondo uno, 1\r\n[curve]\r\n[fine]\r\n",
                  at(kRunFailure, 3, 1, "the general section has no route length row (\"lunghezza percorso\")"),
                  Train::kDeletedByTheTrap},
        ErrorCase{"FieldThatIsNoNumber", line_source("montagna, 1000, 1400, due\r\n"),
                  at(kRunFailure, 5, 23, "expected a number, found \"due\""), Train::kDeletedByTheTrap},
        ErrorCase{"ReadPastTheEnd", "[generale]\r\nlunghezza percorso, 1000\r\n[curve]\r\npendenza, 100\r\n",
                  at(kRunFailure, 4, 14, "the gradient record on line 4 has 1 of its 2 numbers; the file ends after it"),
                  Train::kDeletedByTheTrap},
        ErrorCase{"ProgressiveOffsetOffTheCellsNamesItsRow",
                  line_source("", "progressiva chilometrica uno, 0, 35020, 1\r\n"),
                  at(kUnevenProgressive, 4, 34,
                     "kilometric progressive system in row 81 starts at 0 m with offset 35020 m: both must be "
                     "multiples of 50 m"),
                  Train::kRead},
        // Both systems start at 0: the row at fault is found by its whole system.
        ErrorCase{"ProgressiveOffsetOffTheCellsNamesItsRowAmongRowsOfOneStart",
                  line_source("", "progressiva chilometrica tre, 0, 0, 0\r\nprogressiva chilometrica uno, 0, 35020, 1\r\n"),
                  at(kUnevenProgressive, 5, 34,
                     "kilometric progressive system in row 81 starts at 0 m with offset 35020 m: both must be "
                     "multiples of 50 m"),
                  Train::kRead},
        ErrorCase{"GradientBlamedOnItsRecord",
                  line_source("pendenza, 0, 200\r\npendenza, 1000, 0\r\n"),
                  at(kRunFailure, 5, 14, "gradient 200 \u2030 does not fit a cell: it may run from -100 to 155 \u2030"),
                  Train::kDeletedByTheTrap},
        ErrorCase{"SpeedCodeOverflow", line_source("indicatori_vmax, 1000, 2000,0,0,0, 0,0,0,0\r\n"),
                  at(kRunFailure, 5, 42, "value 40000 does not fit its field"), Train::kDeletedByTheTrap}),
    [](const auto& c) { return std::string(c.param.name); });

TEST_F(LineSourceReading, ARefusalNamesFileLineFieldAndCulprit) {
  read(line_source("cartello_indicatore, 7680, (A)\r\nindicatori_vmax,  7700,  100,  100,  110,  2,  100,  100,  "
                   "110,  2\r\n"));
  EXPECT_EQ(error_code(), kSpeedBoardTaken);
  EXPECT_EQ(error_site().file, "S_linea.txt");
  EXPECT_EQ(error_site().line, 6);
  EXPECT_EQ(error_site().column, 19);
  EXPECT_EQ(error_site().excerpt.text,
            "indicatori_vmax,  7700,  100,  100,  110,  2,  100,  100,  110,  2");
  EXPECT_EQ(error_site().detail, "speed board at 7700 m: cell 155 already holds an indication board");
}

TEST_F(LineSourceReading, AMissingLineSourceIsError101AndNothingIsTouched) {
  replace_file(files.train_source, kMinimalTrain);
  read_sources(SourcePolicy::kDelete);
  EXPECT_EQ(error_code(), kNoLineSource);
  EXPECT_EQ(error_site().file, "S_linea.txt");
  EXPECT_TRUE(train_left());
  EXPECT_EQ(row(kScenarioRow).text, "S");
}

TEST_F(LineSourceReading, AMissingTrainSourceIsCaughtByTheTrap) {
  replace_file(files.line_source, line_source("pendenza, 0, 1\r\n"));
  read_sources(SourcePolicy::kDelete);
  EXPECT_EQ(error_code(), kRunFailure);
  EXPECT_EQ(error_site().file, "S_T-.txt");
  EXPECT_EQ(error_site().line, 0);
  EXPECT_FALSE(line_left());
  EXPECT_EQ(cell(0).gradient, 101);
}

// A record at 50 x last_cell - 100 is the last one accepted; one beyond ends
// the line source as if the file ended there: the gradient fill and the trace
// extension still run, and the train source is read.
TEST_F(LineSourceReading, AfterARecordBeyondTheRouteTheEndProcessingRuns) {
  read(line_source("pendenza, 0, 1\r\npendenza, 7900, 2\r\ncurvad4, 7950, 10\r\nmontagna, 1000, 1400, 2\r\n"),
       "[generale]\r\nvetture, 4\r\n[fine]\r\n");
  EXPECT_EQ(error_code(), kPositionError);
  EXPECT_EQ(row(kTotalsRow).long3, 4);
  EXPECT_EQ(cell(157).gradient, 101);
  EXPECT_EQ(cell(158).gradient, 102);
  EXPECT_EQ(cell(159).gradient, 0);
  EXPECT_EQ(model.tunnel_count, 0);
  const Trace trace = trace_points(model.plan_trace);
  EXPECT_EQ(trace.x[7998], (TraceValue{TraceValue::kDouble, 0}));
  EXPECT_EQ(trace.y[7998], (TraceValue{TraceValue::kDouble, 7998}));
  EXPECT_EQ(trace.y[7999], TraceValue{});
}

TEST_F(LineSourceReading, ReadsTheGeneralSection) {
  read("[GENERALE]\r\n"
       "sfondo uno, 7\r\nsfondo tre, 9\r\nsfondo due, 8\r\n"
       "lunghezza percorso, 5000\r\nLUNGHEZZA PERCORSO, 2000\r\n"
       "PROGRESSIVA chilometrica uno, 0, 1000, 0\r\n"
       "progressiva chilometrica due, 0, 2000, 0\r\n"
       "ripetizione segnali 9 codici, 1000, 2000\r\n"
       "[curve]\r\n[fine]\r\n");
  EXPECT_EQ(error_code(), 0);
  EXPECT_EQ((std::array{row(85).long1, row(85).long2, row(85).long3}), (std::array{7, 9, 8}));
  // The second length row made the grid anew.
  EXPECT_EQ(row(kTotalsRow).long2, 2000);
  EXPECT_EQ(model.last_cell, 180);
  EXPECT_EQ(model.plan_trace.points, 9001);
  // The capital PROGRESSIVA is no progressive row: due alone has an offset.
  EXPECT_EQ(row(kProgressiveTreRow).long2, 2000);
  EXPECT_EQ(row(kProgressiveUnoRow).long2, 0);
  EXPECT_EQ((std::array{row(86).long1, row(86).long2, row(86).long3}), (std::array{1000, 2000, 9}));
}

struct RepetitionCase {
  const char* row;
  int32_t codes;
};

class SignalRepetition : public LineSourceReading, public ::testing::WithParamInterface<RepetitionCase> {};

TEST_P(SignalRepetition, StoresTheNumberOfCodes) {
  read(line_source("", std::string(GetParam().row) + "\r\n"));
  EXPECT_EQ(error_code(), 0);
  EXPECT_EQ(row(kTrainRow).long3, GetParam().codes);
}

INSTANTIATE_TEST_SUITE_P(Cases, SignalRepetition,
                         ::testing::Values(RepetitionCase{"ripetizione segnali 4 codici,    0    ,0", 0},
                                           RepetitionCase{"ripetizione segnali 4 codici, 500, 1000", 4},
                                           RepetitionCase{"ripetizione segnali 9 codici, 500, 1000", 9},
                                           RepetitionCase{"ripetizione segnali 9 codici, 500, 0", 0},
                                           RepetitionCase{"ripetizione segnali 49 codici, 500, 1000", 4}));

TEST_F(LineSourceReading, TheGeneralSectionDropsTenCommentTokensInARow) {
  std::string dashes;
  for (int i = 0; i < 10; ++i) dashes += "-\r\n";
  read(line_source("", dashes + "- sfondo uno, 5\r\n"));
  EXPECT_EQ(row(kScenarioRow).long1, 5);

  dashes.erase(0, 3);
  read(line_source("", dashes + "- sfondo uno, 5\r\n"));
  EXPECT_EQ(row(kScenarioRow).long1, 0);
  EXPECT_EQ(error_code(), 0);
}

// Only an eleventh comment token in a row reaches the heading test.
TEST_F(LineSourceReading, ACommentedHeadingDoesNotEndTheGeneralSection) {
  std::string dashes;
  for (int i = 0; i < 10; ++i) dashes += "-\r\n";
  read(line_source("", dashes + "  -[curve]\r\nsfondo uno, 3\r\n"));
  EXPECT_EQ(row(kScenarioRow).long1, 3);
  read(line_source("", dashes + "[curve]\r\nsfondo uno, 3\r\n"));
  EXPECT_EQ(row(kScenarioRow).long1, 0);
}

TEST_F(LineSourceReading, TheTrackSectionDropsTwoCommentTokensInARow) {
  read(line_source("-------\r\n-\r\n-montagna, 1000, 1400, 2\r\n"));
  EXPECT_EQ(error_code(), 0);
  EXPECT_EQ(model.tunnel_count, 1);

  read(line_source("-------\r\n-montagna, 1000, 1400, 2\r\n"));
  EXPECT_EQ(error_code(), 0);
  EXPECT_EQ(model.tunnel_count, 0);
}

TEST_F(LineSourceReading, RecordsStandUnderAnyHeadingAndTheLastFieldIsNoRecord) {
  read("[generale]\r\nlunghezza percorso, 1000\r\n[curve]\r\n[cartelli]\r\nmontagna, 1000, 1400, 12\r\n"
       "[pendenze]\r\ncartello_indicatore, 1100, \"(A, B)\"\r\nMONTAGNA");
  EXPECT_EQ(error_code(), 0);
  EXPECT_EQ(model.tunnel_count, 1);
  EXPECT_EQ(cell(23).kind, kTextBoard);
  EXPECT_EQ(cell(27).kind, kTunnelMarker);
  EXPECT_EQ(row(kBoardTop).text, "(A, B)");
}

// Keywords, numbers and headings on the line before "[generale]" are skipped.
TEST_F(LineSourceReading, TheCommentLineBeforeTheHeadingIsNeverInterpreted) {
  read("lunghezza percorso, 5, sfondo uno, 9, [curve], montagna, 1000, 1400, 2\r\n[generale]\r\n"
       "lunghezza percorso, 1000\r\n[curve]\r\n[fine]\r\n");
  EXPECT_EQ(error_code(), 0);
  EXPECT_EQ(row(kTotalsRow).long2, 1000);
  EXPECT_EQ(row(kScenarioRow).long1, 0);
  EXPECT_EQ(model.tunnel_count, 0);
}

// Without quotes the board text ends at its comma; the rest is a token that
// matches nothing.
TEST_F(LineSourceReading, AnUnquotedBoardTextIsCutAtItsComma) {
  read(line_source("cartello_indicatore, 1100, (A, B)\r\n"));
  EXPECT_EQ(error_code(), 0);
  EXPECT_EQ(cell(23).kind, kTextBoard);
  EXPECT_EQ(row(kBoardTop).text, "(A");
  EXPECT_EQ(row(kBoardTop - 1).text, "");
}

TEST_F(LineSourceReading, WithoutATraceCurveNumbersAreReadAsTokens) {
  model.write_trace = 0;
  read(line_source("curva, 100, 50\r\npendenza, 0, 3\r\n"));
  EXPECT_EQ(error_code(), 0);
  EXPECT_EQ(model.plan_trace.points, 0);
  EXPECT_EQ(cell(0).gradient, 103);
}

// A route this long passes the trace's limit of points while the trace is
// extended: the reading ends there, and the train source stays unread.
TEST_F(LineSourceReading, ARouteTooLongForTheTraceEndsWithError103) {
  read("[generale]\r\nlunghezza percorso, 994000\r\n[curve]\r\n[fine]\r\n");
  EXPECT_EQ(testing::recorded_error(report),
            at(kTraceError, 0, 0, "plan trace: point 1000001 passes the limit of 1000000 points"));
  EXPECT_FALSE(line_left());
  EXPECT_TRUE(train_left());
}

}  // namespace
}  // namespace scenario
