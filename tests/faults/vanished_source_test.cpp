#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "compile/memorizza_percorso.h"
#include "faults/scenario_snapshot.h"
#include "model/error_codes.h"
#include "model/route_model.h"
#include "sources/builtin_sources.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace scenario {
namespace {

using testing::binaries;
using testing::builtin_files;
using testing::bytes_of;
using testing::names_in;
using testing::snapshot;
using testing::TempDir;

constexpr int kScenarioError = 1;

// A source that is gone when its reader comes to it, and the number the
// reading stops with.
struct Vanished {
  std::filesystem::path RunFiles::*source;
  int32_t number;
};

const Vanished kVanished[] = {
    {&RunFiles::line_source, kNoLineSource},  // no line source: nothing is read
    {&RunFiles::train_source, kRunFailure},   // the train source cannot be opened
};

// Both sources written, then one removed; earlier complete binaries in place.
RunFiles sources_with_one_vanished(const TempDir& dir, const Vanished& vanished) {
  const RunFiles files = testing::write_builtin_sources(dir.path());
  testing::plant_earlier_files(binaries(files));
  std::filesystem::remove(files.*vanished.source);
  return files;
}

std::set<std::string> names_of(const std::vector<std::filesystem::path>& paths) {
  std::set<std::string> names;
  for (const std::filesystem::path& path : paths) names.insert(path.filename().string());
  return names;
}

// The package's compilation: the reading stops, the number travels up with
// the file's name, and no binary file is touched.
TEST(VanishedSource, PackageCompileStopsAndKeepsTheEarlierBinaries) {
  for (const Vanished& vanished : kVanished) {
    TempDir dir;
    const RunFiles files = sources_with_one_vanished(dir, vanished);
    const std::string name = (files.*vanished.source).filename().string();
    SCOPED_TRACE(name);
    const testing::Snapshot before = snapshot(binaries(files));
    RouteModel model;
    model.scenario_name = kBuiltInScenario;
    model.train_number = kBuiltInTrain;
    try {
      memorizza_percorso(model, kWithTrace, files, CompileOptions{});
      ADD_FAILURE() << "the compilation went on without its source";
    } catch (const FatalError& error) {
      EXPECT_EQ(error.number, vanished.number);
      EXPECT_NE(std::string(error.what()).find(name), std::string::npos) << error.what();
    }
    EXPECT_EQ(snapshot(binaries(files)), before);
    // The package's sources are its own to delete; only a train source the
    // reading never came to stays.
    std::set<std::string> expected = names_of(binaries(files));
    if (vanished.number == kNoLineSource) expected.insert(files.train_source.filename().string());
    EXPECT_EQ(names_in(dir.path()), expected);
  }
}

// The tool after an export whose source has since gone: status 1, a message
// that names the file, no binary file touched, the author's other source kept.
TEST(VanishedSource, ToolCompileEndsWithStatus1AndKeepsTheEarlierBinaries) {
  for (const Vanished& vanished : kVanished) {
    TempDir dir;
    TempDir output;
    const RunFiles files = sources_with_one_vanished(dir, vanished);
    const std::string name = (files.*vanished.source).filename().string();
    SCOPED_TRACE(name);
    const testing::Snapshot before = snapshot(binaries(files));
    const std::optional<int> status = testing::run_program(
        SCENARIO_PROGRAM,
        {"compile", "--dir", dir.path().string(), std::string(kBuiltInScenario), std::string(kBuiltInTrain)},
        {"PATH=/usr/bin:/bin"}, std::chrono::seconds(60), "", output / "err");
    EXPECT_EQ(status, kScenarioError);
    const std::string err = bytes_of(output / "err").value_or("");
    EXPECT_NE(err.find(name), std::string::npos) << err;
    EXPECT_NE(err.find(std::to_string(vanished.number)), std::string::npos) << err;
    EXPECT_EQ(snapshot(binaries(files)), before);
    std::set<std::string> expected = names_of({files.line_source, files.train_source});
    expected.erase(name);
    for (const std::string& binary : names_of(binaries(files))) expected.insert(binary);
    EXPECT_EQ(names_in(dir.path()), expected);
  }
}

}  // namespace
}  // namespace scenario
