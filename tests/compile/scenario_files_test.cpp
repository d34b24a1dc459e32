#include "compile/scenario_files.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "format/cell_grid.h"
#include "format/entry_table.h"
#include "format/line_geometry.h"
#include "format/coding.h"
#include "format/scenario_format.h"
#include "io/replace_file.h"
#include "model/trace_walk.h"
#include "support/source_fixtures.h"
#include "support/temp_dir.h"

namespace scenario {
namespace {

using testing::bytes_of;

class WriteScenarioFiles : public ::testing::Test, protected testing::RunInTempDir {
 protected:
  WriteScenarioFiles() : RunInTempDir("S", "1") {
    model.cells.resize(4);
    model.entries[kScenarioRow].text = "S";
    // Points 0 to 10: the seeds, 2 to 8 computed, 9 and 10 empty.
    model.plan_trace = PlanTrace{.points = 11, .seeded = true, .runs = {{2, 5, 0.0}, {6, 8, 0.001}}};
  }
};

TEST_F(WriteScenarioFiles, WritesTheThreeFilesWhole) {
  model.write_trace = 1;
  write_scenario_files(model, files);
  EXPECT_EQ(bytes_of(files.line_geometry), encode_line_geometry(trace_points(model.plan_trace)));
  EXPECT_EQ(bytes_of(files.entry_table), encode_entry_table(model.entries));
  EXPECT_EQ(bytes_of(files.cell_grid), encode_cell_grid(model.cells));
}

TEST_F(WriteScenarioFiles, OlderLongerFilesLeaveNoTrailingBytes) {
  model.write_trace = 1;
  const std::string old(100000, 'o');
  for (const auto& path : {files.line_geometry, files.entry_table, files.cell_grid}) replace_file(path, old);
  write_scenario_files(model, files);
  EXPECT_EQ(bytes_of(files.line_geometry)->size(), 20u * 10u - 36u);
  EXPECT_EQ(bytes_of(files.entry_table)->size(), 87u * 34u + 1u);
  EXPECT_EQ(bytes_of(files.cell_grid)->size(), 4u * 15u);
}

TEST_F(WriteScenarioFiles, WithoutTraceAnOldGeometryFileIsLeftAlone) {
  replace_file(files.line_geometry, "old geometry");
  model.write_trace = 0;
  write_scenario_files(model, files);
  EXPECT_EQ(bytes_of(files.line_geometry), "old geometry");
  EXPECT_TRUE(bytes_of(files.entry_table));
  EXPECT_TRUE(bytes_of(files.cell_grid));
}

TEST_F(WriteScenarioFiles, ModelThatCannotBeEncodedWritesNoFile) {
  model.write_trace = 1;
  model.entries[80].text = std::string(kLongestText + 1, 'x');
  EXPECT_THROW(write_scenario_files(model, files), TextTooLong);
  EXPECT_FALSE(bytes_of(files.line_geometry));
  EXPECT_FALSE(bytes_of(files.entry_table));
  EXPECT_FALSE(bytes_of(files.cell_grid));
}

}  // namespace
}  // namespace scenario
