#include "tool/run_names.h"

#include <gtest/gtest.h>

#include <string>

namespace scenario::tool {
namespace {

TEST(RunNames, UsableNamesPass) {
  const struct {
    const char* scenario;
    const char* train;
  } usable[] = {
      {"Dorvallo_Brisente", "47302"},
      {"Citt\u00E0_Alta", "R\u00E9gional 12"},  // UTF-8 the code page holds
      {"S", "lineas"},
      {"S", "\u20AC"},
      {".hidden", "1"},
  };
  for (const auto& names : usable) {
    EXPECT_EQ(run_names_problem(names.scenario, names.train), std::nullopt) << names.scenario << " " << names.train;
  }
}

// Each bad pair and what the message must say of it.
TEST(RunNames, BadNamesAreRefusedSayingWhatIsWrongWithWhich) {
  const std::string longest(220, 'n');
  const struct {
    std::string scenario;
    std::string train;
    std::string message;
  } refused[] = {
      {"", "1", "SCENARIO is empty"},
      {"S", "", "TRAIN is empty"},
      {".", "1", "SCENARIO \".\" is a directory's name"},
      {"S", "..", "TRAIN \"..\" is a directory's name"},
      {"/tmp/S", "1", "SCENARIO \"/tmp/S\" holds a '/'"},
      {"S", "../1", "TRAIN \"../1\" holds a '/'"},
      {std::string("S\0T", 3), "1", "SCENARIO holds a NUL byte"},
      {"S", "\u4E2D", "TRAIN \"\u4E2D\" cannot be stored"},
      {"Citt\xE0", "1", "SCENARIO \"Citt\xE0\" cannot be stored"},
      // The cell grid would overwrite the geometry file, whatever the case.
      {"S", "linea", "the cell grid and the line geometry file would both be S_linea.dat"},
      {"S", "LINEA", "the cell grid and the line geometry file would both be S_LINEA.dat"},
      // Files that readers would take for another kind, or the sweep for a
      // dead run's leftover.
      {"S", "x_linea", "the cell grid S_x_linea.dat would be taken for a file of another kind"},
      {".S", "x.part-5-ab", "would be taken for a dead run's temporary"},
      {longest, "1", "is too long"},
      {"S", longest, "is too long"},
  };
  for (const auto& names : refused) {
    const std::optional<std::string> problem = run_names_problem(names.scenario, names.train);
    ASSERT_TRUE(problem.has_value()) << names.message;
    EXPECT_NE(problem->find(names.message), std::string::npos) << *problem;
  }
}

TEST(RunNames, TheFilesStoreNamesInWindows1252) {
  EXPECT_EQ(stored_name("Dorvallo_Brisente"), "Dorvallo_Brisente");
  EXPECT_EQ(stored_name("Citt\u00E0 \u20AC"), "Citt\xE0 \x80");
}

}  // namespace
}  // namespace scenario::tool
