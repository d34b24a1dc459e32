#include <gtest/gtest.h>

#include <string>

#include "format/cell_grid.h"
#include "format/entry_table.h"
#include "format/line_geometry.h"
#include "inspect/compiled_builtin.h"
#include "inspect/scenario_file.h"

namespace scenario {
namespace {

class BuiltInScenario : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const auto failure = testing::compile_builtin(dir.path(), files)) {
      GTEST_SKIP() << "the built-in scenario does not compile yet: " << *failure;
    }
  }
  std::string bytes(const std::filesystem::path& path) { return testing::bytes_of(path).value_or(""); }

  testing::TempDir dir;
  RunFiles files;
};

TEST_F(BuiltInScenario, DecodingThenEncodingGivesBackEveryByte) {
  const std::string geometry = bytes(files.line_geometry);
  const std::string table = bytes(files.entry_table);
  const std::string grid = bytes(files.cell_grid);
  EXPECT_EQ(encode_line_geometry(decode_line_geometry(geometry)), geometry);
  EXPECT_EQ(encode_entry_table(decode_entry_table(table)), table);
  EXPECT_EQ(encode_cell_grid(decode_cell_grid(grid)), grid);
}

TEST_F(BuiltInScenario, JsonShowsTheRouteAsCompiled) {
  const auto geometry = inspect_scenario_file(files.line_geometry, false);
  EXPECT_EQ(geometry["points"], 124001);
  EXPECT_EQ(geometry["values"]["empty"], 4);
  EXPECT_EQ(geometry["values"]["int16"], 4);

  const auto grid = inspect_scenario_file(files.cell_grid, false);
  EXPECT_EQ(grid["cell_count"], 2481);
  EXPECT_EQ(grid["cells"][0]["cell"], 1);
  EXPECT_EQ(grid["cells"][0]["p1"], 5121);
  EXPECT_EQ(grid["cells"][0]["p2"], 2370);

  const auto table = inspect_scenario_file(files.entry_table, false);
  int stations = 0;
  int board_texts = 0;
  for (const auto& row : table["entries"]) {
    stations += row["role"] == "station";
    board_texts += row["role"] == "board_text";
  }
  EXPECT_EQ(stations, 24);
  EXPECT_EQ(board_texts, 30);
  EXPECT_EQ(table["entries"][85]["text"], "Dorvallo_Brisente");
  EXPECT_EQ(table["entries"][85]["long4"], 33270);
}

}  // namespace
}  // namespace scenario
