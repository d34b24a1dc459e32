#include "compile/memorizza_percorso.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "format/cell_grid.h"
#include "format/entry_table.h"
#include "format/line_geometry.h"
#include "io/replace_file.h"
#include "model/error_codes.h"
#include "model/trace_walk.h"
#include "sources/builtin_sources.h"
#include "support/model_fixtures.h"
#include "support/source_fixtures.h"
#include "support/temp_dir.h"

namespace scenario {
namespace {

using testing::bytes_of;
using testing::names_in;
using testing::TempDir;

// The number of the FatalError a compile step throws, or 0.
template <typename Step>
int32_t fatal_number_of(const Step& step) {
  try {
    step();
  } catch (const FatalError& error) {
    return error.number;
  }
  return 0;
}

// A model as the readers leave it for the train "12" on the scenario "Ab".
class SealAndWrite : public ::testing::Test, protected testing::RunInTempDir {
 protected:
  SealAndWrite() : RunInTempDir("Ab", "12") {
    model.entries[kScenarioRow].text = "Ab";
    model.entries[kTrainRow].text = "12";
    model.last_cell = 40;
    model.cells.resize(41);
  }
  // Old files of an earlier run, to show that a refused run leaves them.
  void write_old_files() {
    for (const auto& path : {files.line_geometry, files.entry_table, files.cell_grid}) replace_file(path, "old");
  }
  void expect_old_files() {
    for (const auto& path : {files.line_geometry, files.entry_table, files.cell_grid}) {
      EXPECT_EQ(bytes_of(path), "old") << path;
    }
  }
  int32_t fatal_number(CompileOptions options = {}) {
    return fatal_number_of([&] { seal_and_write(model, read, files, options); });
  }
  // The reading recorded an error.
  void reader_error(int32_t code) { read.recorded = Diagnostic{Severity::kError, code, {}, {}}; }

  ReadReport read;
};

TEST_F(SealAndWrite, StampsMarksAndCodesThenWritesTheFiles) {
  model.cells[30].kind = kWarningBoard;
  model.cells[25].kind = kSignal;
  seal_and_write(model, read, files, {});
  EXPECT_EQ(model.entries[kScenarioRow].short1, 610);
  EXPECT_EQ(model.entries[kScenarioRow].long4, 33416);
  EXPECT_EQ(model.cells[1].p1, 5121);
  EXPECT_EQ(model.cells[1].p2, 2437);
  EXPECT_EQ(model.cells[24].kind, kReductionValue);  // the post-pass ran
  EXPECT_EQ(names_in(dir.path()), (std::set<std::string>{"Ab_12.dat", "Ab_12.sim"}));
  const std::string grid = *bytes_of(files.cell_grid);
  EXPECT_EQ(grid.substr(15, 5), std::string("\x00\x01\x14\x85\x09", 5));
  EXPECT_EQ(bytes_of(files.entry_table), encode_entry_table(model.entries));
}

struct TakenCase {
  std::string name;
  std::function<void(RouteModel&, ReadReport&)> take;
  int32_t number;
};

std::ostream& operator<<(std::ostream& out, const TakenCase& c) { return out << c.name; }

class ReservedValueTaken : public SealAndWrite, public ::testing::WithParamInterface<TakenCase> {};

TEST_P(ReservedValueTaken, IsFatalAndWritesNoFile) {
  model.write_trace = kWithTrace;
  write_old_files();
  GetParam().take(model, read);
  EXPECT_EQ(fatal_number(), GetParam().number);
  expect_old_files();
}

INSTANTIATE_TEST_SUITE_P(
    Marks, ReservedValueTaken,
    ::testing::Values(TakenCase{"row_85_short1", [](RouteModel& m, ReadReport&) { m.entries[kScenarioRow].short1 = 610; },
                                kMarkTaken},
                      TakenCase{"cell_1_p1", [](RouteModel& m, ReadReport&) { m.cells[1].p1 = 2020; }, kMarkTaken},
                      TakenCase{"row_85_long4", [](RouteModel& m, ReadReport&) { m.entries[kScenarioRow].long4 = 1; }, kCodeTaken},
                      TakenCase{"cell_1_p2", [](RouteModel& m, ReadReport&) { m.cells[1].p2 = -1; }, kCodeTaken},
                      TakenCase{"mark_checked_before_code",
                                [](RouteModel& m, ReadReport&) {
                                  m.cells[1].p1 = 2020;
                                  m.cells[1].p2 = 2020;
                                },
                                kMarkTaken},
                      // The pass runs before the check: its point in cell 1 takes the mark.
                      TakenCase{"point_placed_in_cell_1_by_the_pass",
                                [](RouteModel& m, ReadReport&) {
                                  m.cells[10].kind = kWarningBoard;
                                  m.cells[3].kind = kSignal;
                                  m.cells[2].kind = kSpeedBoard;
                                },
                                kMarkTaken},
                      TakenCase{"marks_checked_before_a_reader_error",
                                [](RouteModel& m, ReadReport& r) {
                                  m.cells[1].p2 = 2020;
                                  r.recorded = Diagnostic{Severity::kError, kPositionError, {}, {}};
                                },
                                kCodeTaken}),
    ::testing::PrintToStringParamName());

TEST_F(SealAndWrite, ReaderErrorStopsTheRunBeforeAnyFile) {
  write_old_files();
  reader_error(kPositionError);
  EXPECT_EQ(fatal_number(), kPositionError);
  expect_old_files();
}

TEST_F(SealAndWrite, ReaderErrorWrittenOnlyWhenAskedFor) {
  reader_error(kPositionError);
  EXPECT_EQ(fatal_number({.write_despite_reader_error = true}), 0);
  EXPECT_EQ(read.error_code(), kPositionError);
  EXPECT_EQ(bytes_of(files.cell_grid), encode_cell_grid(model.cells));
  EXPECT_EQ(model.cells[1].p1, 5121);
}

TEST_F(SealAndWrite, GridNeverMadeReportsTheReaderErrorEvenWhenWritingDespiteIt) {
  model.cells.clear();
  reader_error(kNoLineSource);
  EXPECT_EQ(fatal_number({.write_despite_reader_error = true}), kNoLineSource);
  EXPECT_TRUE(names_in(dir.path()).empty());
}

TEST_F(SealAndWrite, GridWithoutCell1CannotHoldTheMark) {
  for (const size_t size : {0u, 1u}) {
    model.cells.resize(size);
    EXPECT_EQ(fatal_number(), kMarkTaken) << size;
  }
  EXPECT_TRUE(names_in(dir.path()).empty());
}

// Through the readers. A tiny line source with one speed board; its board at
// 0 m stands in cell 1.
constexpr std::string_view kScenario = "Prova";
constexpr std::string_view kTrain = "1";

std::string line_source(std::string_view board) {
  return "linea di prova\r\n[generale]\r\nlunghezza percorso,    1000\r\n[cartelli]\r\n" + std::string(board) +
         "\r\n[fine]\r\n";
}
constexpr std::string_view kTrainSource = "treno di prova\r\n[generale]\r\n[fine]\r\n";

class CompileSources : public ::testing::Test, protected testing::RunInTempDir {
 protected:
  CompileSources() : RunInTempDir(kScenario, kTrain) {}
  void write_sources(std::string_view board) { testing::write_sources(files, line_source(board), kTrainSource); }
  ReadReport read;
  int32_t fatal_number(CompileOptions options = {}) {
    return fatal_number_of([&] { read = memorizza_percorso(model, kWithoutTrace, files, options); });
  }
};

TEST_F(CompileSources, SpeedBoardAtTheOriginTakesTheMarkOfCell1) {
  write_sources("indicatori_vmax,  0,  100,  100,  110,  2,  100,  100,  110,  2");
  EXPECT_EQ(fatal_number(), kMarkTaken);
  EXPECT_TRUE(names_in(dir.path()).empty());  // no binary file, and the sources are gone
}

TEST_F(CompileSources, SpeedBoardAtTheOriginWithoutItsFirstSpeedTakesTheCodeOfCell1) {
  write_sources("indicatori_vmax,  0,  0,  100,  110,  2,  0,  100,  110,  2");
  EXPECT_EQ(fatal_number(), kCodeTaken);
  EXPECT_TRUE(names_in(dir.path()).empty());
}

TEST_F(CompileSources, StartsFromAFreshModel) {
  write_sources("indicatori_vmax,  7700,  100,  100,  110,  2,  100,  100,  110,  2");
  model.entries[40].text = "left over";
  read.recorded = Diagnostic{Severity::kError, kReductionCellTaken, {}, {}};
  EXPECT_EQ(fatal_number(), 0);
  EXPECT_EQ(read.error_code(), 0);
  EXPECT_EQ(model.entries[40].text, "");
  EXPECT_EQ(model.write_trace, kWithoutTrace);
  EXPECT_EQ(model.plan_trace.points, 0);  // no trace without write_trace
  EXPECT_EQ(names_in(dir.path()), (std::set<std::string>{"Prova_1.dat", "Prova_1.sim"}));
}

TEST_F(CompileSources, AuthorsSourcesAreKeptWhenAskedFor) {
  write_sources("indicatori_vmax,  7700,  100,  100,  110,  2,  100,  100,  110,  2");
  EXPECT_EQ(fatal_number({.sources = SourcePolicy::kKeep}), 0);
  EXPECT_TRUE(bytes_of(files.line_source));
  EXPECT_TRUE(bytes_of(files.train_source));
}

TEST_F(CompileSources, MissingLineSourceIsReportedAndWritesNothing) {
  replace_file(files.train_source, kTrainSource);
  EXPECT_EQ(fatal_number({.write_despite_reader_error = true}), kNoLineSource);
  EXPECT_EQ(names_in(dir.path()), (std::set<std::string>{"Prova_1-.txt"}));
}

// 7950 m lies past the last position a record may take (50 x 160 - 100).
TEST_F(CompileSources, HalfReadModelIsWrittenOnlyWhenAskedFor) {
  const std::string_view late_board = "indicatori_vmax,  7950,  100,  100,  110,  2,  100,  100,  110,  2";
  write_sources(late_board);
  EXPECT_EQ(fatal_number(), kPositionError);
  EXPECT_TRUE(names_in(dir.path()).empty());
  write_sources(late_board);
  EXPECT_EQ(fatal_number({.write_despite_reader_error = true}), 0);
  EXPECT_EQ(read.error_code(), kPositionError);
  EXPECT_EQ(names_in(dir.path()), (std::set<std::string>{"Prova_1.dat", "Prova_1.sim"}));
}

TEST(MemorizzaPercorso, CompilesTheBuiltInScenario) {
  TempDir dir;
  RouteModel model = testing::named_model(kBuiltInScenario, kBuiltInTrain);
  dati_linea(model, dir.path());
  dati_treno(model, dir.path());
  const RunFiles files = run_files(dir.path(), kBuiltInScenario, kBuiltInTrain);
  const ReadReport read = memorizza_percorso(model, kWithTrace, files, {});

  EXPECT_EQ(read.error_code(), 0);
  EXPECT_EQ(model.entries[kScenarioRow].short1, 610);
  EXPECT_EQ(model.entries[kScenarioRow].long4, 33270);
  EXPECT_EQ(model.cells.at(1).p2, 2370);
  // Every byte of the three files is pinned by the package files' digests.
  EXPECT_EQ(bytes_of(files.line_geometry), encode_line_geometry(trace_points(model.plan_trace)));
  EXPECT_EQ(bytes_of(files.entry_table), encode_entry_table(model.entries));
  EXPECT_EQ(bytes_of(files.cell_grid), encode_cell_grid(model.cells));
  EXPECT_FALSE(std::filesystem::exists(files.line_source));
  EXPECT_FALSE(std::filesystem::exists(files.train_source));
}

// The built-in service has no slowdown: the pass places nothing, and the grid
// file holds the cells as the readers left them but for the two values that
// cell 1 carries.
TEST(MemorizzaPercorso, BuiltInGridIsWrittenAsTheReadersLeftIt) {
  TempDir dir;
  RouteModel model = testing::named_model(kBuiltInScenario, kBuiltInTrain);
  dati_linea(model, dir.path());
  dati_treno(model, dir.path());
  const RunFiles files = run_files(dir.path(), kBuiltInScenario, kBuiltInTrain);
  ReadResult read =
      memorizza_dati(files, read_options(model.scenario_name, model.train_number, kWithTrace), SourcePolicy::kDelete);
  ASSERT_EQ(read.report.error_code(), 0);
  model = std::move(read.scenario);
  Cells as_read = model.cells;
  seal_and_write(model, read.report, files, {});
  as_read.at(1).p1 = 5121;
  as_read.at(1).p2 = 2370;
  EXPECT_EQ(model.cells, as_read);
  EXPECT_EQ(bytes_of(files.cell_grid), encode_cell_grid(as_read));
}

}  // namespace
}  // namespace scenario
