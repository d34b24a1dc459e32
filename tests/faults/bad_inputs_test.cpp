#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "faults/scenario_snapshot.h"
#include "format/entry_table.h"
#include "format/line_geometry.h"
#include "format/scenario_format.h"
#include "io/replace_file.h"
#include "model/route_model.h"
#include "reader/memorizza_dati.h"
#include "sources/builtin_sources.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace scenario {
namespace {

using testing::bytes_of;
using testing::names_in;
using testing::TempDir;

constexpr int kScenarioError = 1;
constexpr int kBadCommandLine = 2;

// Long enough for any run, short beside a wait for ever: a run that blocks
// is killed and counts as a failure.
constexpr std::chrono::seconds kAllowed(20);

struct Outcome {
  std::optional<int> status;
  std::string err;
};

Outcome scenario_tool(const std::vector<std::string>& arguments) {
  TempDir output;
  Outcome outcome;
  outcome.status = testing::run_program(SCENARIO_PROGRAM, arguments, {"PATH=/usr/bin:/bin"}, kAllowed,
                                        output / "out", output / "err");
  outcome.err = bytes_of(output / "err").value_or("");
  return outcome;
}

std::vector<std::string> compile_builtin(const TempDir& dir) {
  return {"compile", "--dir", dir.path().string(), std::string(kBuiltInScenario), std::string(kBuiltInTrain)};
}

bool says(const Outcome& outcome, const std::string& text) { return outcome.err.find(text) != std::string::npos; }

// Bad names are a bad command line, refused before anything is read or
// written: the directory holds what it held, and nothing lands outside it.
TEST(BadNames, CompileExportAndRenderRefuseThemWithStatus2) {
  const struct {
    std::string scenario;
    std::string train;
    std::string message;
  } bad[] = {
      {"", "47302", "SCENARIO is empty"},
      {"S", "", "TRAIN is empty"},
      {"..", "47302", "SCENARIO \"..\" is a directory's name"},
      {"S", "a/b", "TRAIN \"a/b\" holds a '/'"},
      {"/tmp/scenario-outside", "1", "holds a '/'"},
      {"S", "\u4E2D", "cannot be stored"},
      {"S", "linea", "the cell grid and the line geometry file would both be S_linea.dat"},
      {"S", std::string(240, '7'), "is too long"},
  };
  for (const auto& names : bad) {
    SCOPED_TRACE(names.message);
    TempDir dir;
    // Sources under every name the commands would read.
    testing::write_builtin_sources(dir.path());
    const std::set<std::string> before = names_in(dir.path());
    const std::vector<std::vector<std::string>> commands = {
        {"compile", "--dir", dir.path().string(), names.scenario, names.train},
        {"check", "--dir", dir.path().string(), names.scenario, names.train},
        {"export", "--dir", dir.path().string(), "--name", names.scenario, "--train", names.train},
        {"new", "--dir", dir.path().string(), "--force", names.scenario, names.train},
        {"render", "--dir", dir.path().string(), "-o", (dir / "r.svg").string(), names.scenario, names.train},
        {"view", "--dir", dir.path().string(), names.scenario, names.train},
    };
    for (const auto& command : commands) {
      const Outcome outcome = scenario_tool(command);
      EXPECT_EQ(outcome.status, kBadCommandLine) << command[0] << ": " << outcome.err;
      EXPECT_TRUE(says(outcome, "scenario " + command[0] + ": ")) << outcome.err;
      EXPECT_TRUE(says(outcome, names.message)) << outcome.err;
    }
    EXPECT_EQ(names_in(dir.path()), before);
    EXPECT_FALSE(std::filesystem::exists("/tmp/scenario-outside_linea.txt"));
  }
}

// A name typed in UTF-8 names the files as typed, and the entry table stores
// it in Windows-1252, as the simulator reads it.
TEST(BadNames, AUtf8NameIsStoredInWindows1252) {
  TempDir dir;
  const std::string scenario = "Citt\u00E0";
  const std::string train = "47\u00B0";
  ASSERT_EQ(scenario_tool({"export", "--dir", dir.path().string(), "--name", scenario, "--train", train}).status, 0);
  const Outcome compiled = scenario_tool({"compile", "--dir", dir.path().string(), scenario, train});
  ASSERT_EQ(compiled.status, 0) << compiled.err;
  const std::optional<std::string> table = bytes_of(dir / (scenario + "_" + train + ".sim"));
  ASSERT_TRUE(table.has_value());
  const auto entries = decode_entry_table(*table);
  EXPECT_EQ(entries[kScenarioRow].text, "Citt\xE0");
  EXPECT_EQ(entries[kTrainRow].text, "47\xB0");
}

// Something other than a regular file where a source or a file to inspect
// should be: refused at once with the reason, never waited on or read
// without end.
struct NotAFile {
  const char* case_name;
  std::function<void(const std::filesystem::path&)> make;
};

const NotAFile kNotFiles[] = {
    {"FIFO", [](const std::filesystem::path& path) { ::mkfifo(path.c_str(), 0600); }},
    {"endless device", [](const std::filesystem::path& path) { std::filesystem::create_symlink("/dev/zero", path); }},
    {"directory", [](const std::filesystem::path& path) { std::filesystem::create_directory(path); }},
};

TEST(SpecialFiles, AsASourceTheyAreRefusedAtOnce) {
  for (const NotAFile& special : kNotFiles) {
    for (const auto source : {&RunFiles::line_source, &RunFiles::train_source}) {
      TempDir dir;
      const RunFiles files = testing::write_builtin_sources(dir.path());
      std::filesystem::remove(files.*source);
      special.make(files.*source);
      SCOPED_TRACE(std::string(special.case_name) + " as " + (files.*source).filename().string());
      const Outcome outcome =
          scenario_tool(compile_builtin(dir));
      EXPECT_EQ(outcome.status, kScenarioError) << outcome.err;
      EXPECT_TRUE(says(outcome, "error: cannot read " + (files.*source).string() + ": not a regular file [E25]\n"))
          << outcome.err;
    }
  }
}

TEST(SpecialFiles, ToInspectTheyAreRefusedAtOnce) {
  for (const NotAFile& special : kNotFiles) {
    SCOPED_TRACE(special.case_name);
    TempDir dir;
    special.make(dir / "S_1.dat");
    const Outcome outcome = scenario_tool({"inspect", (dir / "S_1.dat").string()});
    EXPECT_EQ(outcome.status, kScenarioError) << outcome.err;
    EXPECT_TRUE(says(outcome, (dir / "S_1.dat").string() + ": not a regular file")) << outcome.err;
  }
}

// A file larger than the largest of its kind is refused by its size, before
// a byte of it is held: a sparse file of hundreds of megabytes costs nothing.
TEST(OversizedFiles, AreRefusedByTheirSize) {
  TempDir dir;
  const auto big = dir / "S_linea.dat";
  replace_file(big, "");
  constexpr std::uintmax_t kHundredsOfMegabytes = 300'000'000;
  std::filesystem::resize_file(big, kHundredsOfMegabytes);
  const Outcome inspected = scenario_tool({"inspect", "--all", big.string()});
  EXPECT_EQ(inspected.status, kScenarioError);
  EXPECT_TRUE(says(inspected, "300000000 bytes, more than the " + std::to_string(kLargestLineGeometry))) << inspected.err;

  const RunFiles files = testing::write_builtin_sources(dir.path());
  std::filesystem::resize_file(files.line_source, kLargestSource + 1);
  const Outcome compiled = scenario_tool(compile_builtin(dir));
  EXPECT_EQ(compiled.status, kScenarioError);
  EXPECT_TRUE(says(compiled, "error: cannot read " + files.line_source.string())) << compiled.err;
  EXPECT_TRUE(says(compiled, "more than the " + std::to_string(kLargestSource))) << compiled.err;
  EXPECT_TRUE(says(compiled, " [E25]\n")) << compiled.err;
}

// The caps are the files of a route of the longest length, with room for
// none larger.
TEST(OversizedFiles, TheLongestRouteFitsTheCaps) {
  const std::string line = "[generale]\r\nlunghezza percorso, " + std::to_string(kMaxRouteLength) + "\r\n[fine]\r\n";
  const RouteModel model = read_sources(line, "", read_options("S", "1", 1)).scenario;
  EXPECT_LE(line_geometry_size(model.plan_trace), kLargestLineGeometry);
  EXPECT_EQ(static_cast<size_t>(model.plan_trace.points) * 2, kMostTraceValues);
  EXPECT_LE(model.cells.size() * kCellBytes, kLargestCellGrid);
  EXPECT_GE(model.cells.size() * kCellBytes + kCellBytes, kLargestCellGrid);
}

// "does not exist" only when nothing is there; otherwise the system's reason.
TEST(Reasons, ALoopOfLinksIsNoMissingSource) {
  TempDir dir;
  const RunFiles files = testing::write_builtin_sources(dir.path());
  std::filesystem::remove(files.line_source);
  std::filesystem::create_symlink(files.line_source.filename(), files.line_source);
  const Outcome looped = scenario_tool(compile_builtin(dir));
  EXPECT_EQ(looped.status, kScenarioError);
  EXPECT_TRUE(says(looped, "error: cannot read " + files.line_source.string() +
                               ": Too many levels of symbolic links [E25]\n"))
      << looped.err;

  std::filesystem::remove(files.line_source);
  const Outcome missing = scenario_tool(compile_builtin(dir));
  EXPECT_EQ(missing.status, kScenarioError);
  EXPECT_TRUE(says(missing, "error: the line source " + files.line_source.string() + " does not exist [E101]\n"))
      << missing.err;
}

}  // namespace
}  // namespace scenario
