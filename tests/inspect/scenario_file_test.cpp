#include "inspect/scenario_file.h"

#include <gtest/gtest.h>

#include "format/entry_table.h"
#include "format/scenario_format.h"
#include "io/replace_file.h"
#include "support/temp_dir.h"

namespace scenario {
namespace {

TEST(InspectScenarioFile, NamesTheFileAndItsFormat) {
  const testing::TempDir dir;
  const auto path = dir / "S_1.dat";
  replace_file(path, std::string(30, '\0'));
  const nlohmann::ordered_json json = inspect_scenario_file(path, false);
  EXPECT_EQ(json["file"], path.string());
  EXPECT_EQ(json["format"], "cell_grid");
  EXPECT_EQ(json["bytes"], 30);
  EXPECT_EQ(json["cell_count"], 2);
}

std::string failure(const std::filesystem::path& path) {
  try {
    inspect_scenario_file(path, false);
  } catch (const ScenarioFileError& e) {
    return e.what();
  }
  return "no failure";
}

TEST(InspectScenarioFile, FailureNamesTheFileAndTheByte) {
  const testing::TempDir dir;
  replace_file(dir / "S_1.sim", "short");
  EXPECT_EQ(
      failure(dir / "S_1.sim"),
      (dir / "S_1.sim").string() + ": byte 0: truncated: entry row 0 needs 16 bytes from byte 0, the file has 5 left");
  EXPECT_EQ(failure(dir / "missing.dat"), "cannot read " + (dir / "missing.dat").string() + ": does not exist");
  EXPECT_NE(failure(dir / "S_1.txt").find("not a scenario file name"), std::string::npos);
}

// Each kind is read up to the largest file a route of the longest length
// gives, and no further.
TEST(InspectScenarioFile, RefusesAFileLargerThanAnyOfItsKind) {
  const struct {
    const char* name;
    size_t cap;
  } kinds[] = {{"S_linea.dat", kLargestLineGeometry}, {"S_1.sim", kLargestEntryTable}, {"S_1.dat", kLargestCellGrid}};
  for (const auto& kind : kinds) {
    const testing::TempDir dir;
    const auto path = dir / kind.name;
    replace_file(path, "");
    std::filesystem::resize_file(path, kind.cap);
    EXPECT_EQ(failure(path).find("more than"), std::string::npos) << kind.name;
    std::filesystem::resize_file(path, kind.cap + 1);
    EXPECT_NE(failure(path).find(std::to_string(kind.cap + 1) + " bytes, more than the " + std::to_string(kind.cap)),
              std::string::npos)
        << failure(path);
  }
}

TEST(LoadScenario, DecodesTheThreeFilesAndToleratesAMissingGeometry) {
  const testing::TempDir dir;
  const RunFiles files = run_files(dir.path(), "S", "1");
  std::array<Entry, kEntryCount> entries{};
  entries[kScenarioRow].text = "S";
  entries[kTrainRow].text = "1";
  replace_file(files.entry_table, encode_entry_table(entries));
  replace_file(files.cell_grid, std::string(45, '\0'));
  const RouteModel model = load_scenario(files);
  EXPECT_TRUE(model.trace.x.empty());
  EXPECT_EQ(model.cells.size(), 3u);
  EXPECT_EQ(model.scenario_name, "S");
  EXPECT_EQ(model.train_number, "1");
  replace_file(files.line_geometry, "\x07");
  EXPECT_THROW(load_scenario(files), ScenarioFileError);
}

}  // namespace
}  // namespace scenario
