#include "model/run_files.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>

namespace scenario {
namespace {

TEST(RunFiles, NamesTheEightFilesOfARun) {
  const RunFiles files = run_files("/dir", "Dorvallo_Brisente", "47302");
  EXPECT_EQ(files.line_source, "/dir/Dorvallo_Brisente_linea.txt");
  EXPECT_EQ(files.train_source, "/dir/Dorvallo_Brisente_47302-.txt");
  EXPECT_EQ(files.notes, "/dir/Dorvallo_Brisente_47302_note.txt");
  EXPECT_EQ(files.slowdowns, "/dir/Dorvallo_Brisente_47302_rallentamenti.txt");
  EXPECT_EQ(files.timetable, "/dir/Dorvallo_Brisente_47302_scheda_treno.txt");
  EXPECT_EQ(files.line_geometry, "/dir/Dorvallo_Brisente_linea.dat");
  EXPECT_EQ(files.entry_table, "/dir/Dorvallo_Brisente_47302.sim");
  EXPECT_EQ(files.cell_grid, "/dir/Dorvallo_Brisente_47302.dat");
}

TEST(ScenarioFileKind, TheNameTellsTheFormat) {
  const std::pair<const char*, std::optional<ScenarioFileKind>> cases[] = {
      {"Dorvallo_Brisente_linea.dat", ScenarioFileKind::kLineGeometry},
      {"dir.sim/X_LINEA.DAT", ScenarioFileKind::kLineGeometry},
      {"Dorvallo_Brisente_47302.sim", ScenarioFileKind::kEntryTable},
      {"Dorvallo_Brisente_47302.dat", ScenarioFileKind::kCellGrid},
      {"linea.dat", ScenarioFileKind::kCellGrid},  // no underscore: not a geometry file
      {"Dorvallo_Brisente_linea.txt", std::nullopt},
      {"x.dat.bak", std::nullopt},
  };
  for (const auto& [name, kind] : cases) EXPECT_EQ(scenario_file_kind(name), kind) << name;
}

TEST(ScenarioFileKind, RecognisesTheNamesRunFilesMakesAndNoOther) {
  for (const auto& [scenario, train] : {std::pair{"Dorvallo_Brisente", "47302"}, std::pair{"s", "A1"}}) {
    const RunFiles files = run_files("/dir", scenario, train);
    EXPECT_EQ(scenario_file_kind(files.line_geometry), ScenarioFileKind::kLineGeometry) << scenario;
    EXPECT_EQ(scenario_file_kind(files.entry_table), ScenarioFileKind::kEntryTable) << scenario;
    EXPECT_EQ(scenario_file_kind(files.cell_grid), ScenarioFileKind::kCellGrid) << scenario;
    for (const auto& text : {files.line_source, files.train_source, files.notes, files.slowdowns, files.timetable}) {
      EXPECT_EQ(scenario_file_kind(text), std::nullopt) << text;
    }
  }
  EXPECT_EQ(scenario_file_patterns(), "*_linea.dat, *.sim or *.dat");
}

TEST(IsRunFileName, TellsTheNamesRunFilesSpellsFromAnyOther) {
  for (const auto& [scenario, train] : {std::pair{"Dorvallo_Brisente", "47302"}, std::pair{"s", "A1"}}) {
    const RunFiles files = run_files("", scenario, train);
    for (const auto& file : {files.line_source, files.train_source, files.notes, files.slowdowns, files.timetable,
                             files.line_geometry, files.entry_table, files.cell_grid}) {
      EXPECT_TRUE(is_run_file_name(file.string())) << file;
    }
  }
  const char* const others[] = {"thesis.tex", "notes", "holiday.dat", "_1.dat", "S_.sim", "linea.txt", "_linea.txt",
                                "S_1.DAT",    "dir/S_1.dat", ".scenario.lock", ""};
  for (const char* name : others) EXPECT_FALSE(is_run_file_name(name)) << name;
}

TEST(SourceName, TheNameTellsTheSourceAndItsScenario) {
  struct Expected {
    bool line_source;
    const char* scenario;
    const char* train;
  };
  const std::pair<const char*, std::optional<Expected>> cases[] = {
      {"dir/Dorvallo_Brisente_linea.txt", Expected{true, "Dorvallo_Brisente", ""}},
      // A train source's scenario ends at its last underscore.
      {"Dorvallo_Brisente_47302-.txt", Expected{false, "Dorvallo_Brisente", "47302"}},
      {"S_linea-.txt", Expected{false, "S", "linea"}},
      {"_linea.txt", std::nullopt},
      {"S_LINEA.TXT", std::nullopt},
      {"S47302-.txt", std::nullopt},
      {"S_-.txt", std::nullopt},
      {"S_47302_note.txt", std::nullopt},
  };
  for (const auto& [path, expected] : cases) {
    const std::optional<SourceName> name = source_name(path);
    ASSERT_EQ(name.has_value(), expected.has_value()) << path;
    if (!name) continue;
    EXPECT_EQ(name->line_source, expected->line_source) << path;
    EXPECT_EQ(name->scenario, expected->scenario) << path;
    EXPECT_EQ(name->train, expected->train) << path;
  }
}

}  // namespace
}  // namespace scenario
