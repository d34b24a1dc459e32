#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "faults/package_copy.h"
#include "faults/scenario_snapshot.h"

namespace scenario {
namespace {

using testing::BackgroundRun;
using testing::PackageCopy;

constexpr int kPairs = 5;

// Two package runs started together in one directory: one waits for the
// other, both complete, and the directory holds one whole, correct set.
TEST(ConcurrentRuns, TwoPackageRunsInOneDirectoryBothComplete) {
  for (int pair = 0; pair < kPairs; ++pair) {
    SCOPED_TRACE("pair " + std::to_string(pair));
    PackageCopy package;
    testing::TempDir output;
    std::array<std::unique_ptr<BackgroundRun>, 2> runs;
    for (size_t i = 0; i < runs.size(); ++i) {
      runs[i] = std::make_unique<BackgroundRun>(package.program().string(), std::vector<std::string>{},
                                                output / ("err" + std::to_string(i)));
    }
    for (size_t i = 0; i < runs.size(); ++i) {
      EXPECT_EQ(runs[i]->wait(), 0) << testing::bytes_of(output / ("err" + std::to_string(i))).value_or("");
    }
    EXPECT_EQ(testing::names_in(package.dir()), testing::complete_directory());
    EXPECT_EQ(testing::snapshot(testing::files_left(package.files())), testing::complete_files());
  }
}

// The same for two compiles of the author's sources, which stay.
TEST(ConcurrentRuns, TwoCompilesInOneDirectoryBothComplete) {
  testing::TempDir dir;
  testing::TempDir output;
  const RunFiles files = testing::write_builtin_sources(dir.path());
  const std::vector<std::string> arguments = {"compile", "--dir", dir.path().string(),
                                              std::string(kBuiltInScenario), std::string(kBuiltInTrain)};
  BackgroundRun first(SCENARIO_PROGRAM, arguments, output / "err0");
  BackgroundRun second(SCENARIO_PROGRAM, arguments, output / "err1");
  EXPECT_EQ(first.wait(), 0) << testing::bytes_of(output / "err0").value_or("");
  EXPECT_EQ(second.wait(), 0) << testing::bytes_of(output / "err1").value_or("");
  std::set<std::string> expected{files.line_source.filename().string(), files.train_source.filename().string()};
  for (const std::filesystem::path& binary : testing::binaries(files)) {
    const std::string name = binary.filename().string();
    EXPECT_EQ(testing::bytes_of(binary), testing::complete_files().at(name)) << name;
    expected.insert(name);
  }
  EXPECT_EQ(testing::names_in(dir.path()), expected);
}

}  // namespace
}  // namespace scenario
