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
      FAIL() << "the built-in scenario does not compile: " << *failure;
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

// The built-in sources, read back in the units they were written in.
TEST_F(BuiltInScenario, JsonShowsTheSourcesUnits) {
  const auto grid = inspect_scenario_file(files.cell_grid, true);
  const auto& cells = grid["cells"];
  // "segnale,   10500,   1, 3, 0,  0, 0,    0,  0,0,0, 0"
  EXPECT_EQ(cells[211]["position_m"], 10500);
  EXPECT_EQ(cells[211]["decoded"].dump(),
            R"({"sx":1,"s1":3,"s2":0,"s3":0,"rapp":0,"dx":0,"d1":0,"d2":0,"d3":0,"tempo":0})");
  // "indicatori_vmax,  7700,  100,  100,  110,  2,  100,  100,  110,  2"
  EXPECT_EQ(cells[155]["position_m"], 7700);
  EXPECT_EQ(cells[155]["decoded"].dump(),
            R"({"vas":100,"vbs":100,"vcs":110,"strisces":2,"vad":100,"vbd":100,"vcd":110,"strisced":2})");
  // "velocita,    1300,   140" and "pendenza,  1350,   -3"
  EXPECT_EQ(cells[30]["speed_limit_kmh"], 140);
  EXPECT_EQ(cells[30]["gradient_permille"], -3);

  const auto table = inspect_scenario_file(files.entry_table, false);
  // "stazione,   14400, 21,  300, ... 11, 9, 0, PIEVE SALINA"
  const auto& pieve = table["entries"][3];
  EXPECT_EQ(pieve["text"], "PIEVE SALINA");
  EXPECT_EQ(pieve["time"], "11:09:00");
  EXPECT_EQ(pieve["position_m"], 14400);
  EXPECT_EQ(pieve["extent_m"].dump(), R"({"from":14250,"to":14550})");
  EXPECT_FALSE(table["entries"][80].contains("time"));
}

}  // namespace
}  // namespace scenario
