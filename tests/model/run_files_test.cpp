#include "model/run_files.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace scenario
