#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "faults/scenario_snapshot.h"
#include "io/run_lock.h"
#include "sources/builtin_sources.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace scenario {
namespace {

using testing::bytes_of;
using testing::names_in;
using testing::TempDir;

constexpr std::chrono::seconds kAllowed(60);
const std::vector<std::string> kEnvironment = {"PATH=/usr/bin:/bin"};
constexpr uid_t kNobody = 65534;

struct Outcome {
  std::optional<int> status;
  std::string err;
};

// The tool run behind prefix (another user, say), its output going to out.
Outcome run_tool(const std::vector<std::string>& arguments, const std::string& out = "",
                 const std::vector<std::string>& prefix = {}) {
  std::vector<std::string> words = prefix;
  words.emplace_back(SCENARIO_PROGRAM);
  words.insert(words.end(), arguments.begin(), arguments.end());
  const std::string program = words.front();
  words.erase(words.begin());
  TempDir output;
  Outcome outcome;
  outcome.status = testing::run_program(program, words, kEnvironment, kAllowed, out.empty() ? (output / "out").string() : out,
                                        output / "err");
  outcome.err = bytes_of(output / "err").value_or("");
  return outcome;
}

std::vector<std::string> compile_builtin(const std::filesystem::path& dir) {
  return {"compile", "--dir", dir.string(), std::string(kBuiltInScenario), std::string(kBuiltInTrain)};
}

// The built-in scenario compiled in dir.
RunFiles compiled_builtin(const std::filesystem::path& dir) {
  const RunFiles files = testing::write_builtin_sources(dir);
  EXPECT_EQ(run_tool(compile_builtin(dir)).status, 0);
  return files;
}

// Runs as another user when this one is root, who writes through any
// permission bits; as this one otherwise.
std::vector<std::string> as_nobody() {
  if (::geteuid() != 0) return {};
  return {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"};
}

void give_to_nobody(const std::filesystem::path& path) {
  if (::geteuid() == 0 && ::chown(path.c_str(), kNobody, kNobody) != 0) ADD_FAILURE() << "cannot chown " << path;
}

// Output that cannot be written is a failed command with the system's
// reason; diff, which could not say what differs, answers "trouble".
TEST(UnwritableOutput, EveryCommandThatPrintsFailsWithTheReason) {
  TempDir dir;
  const RunFiles files = compiled_builtin(dir.path());
  const std::filesystem::path other = dir / "Other_1.dat";
  std::filesystem::copy_file(files.cell_grid, other);
  std::filesystem::resize_file(other, std::filesystem::file_size(other) - 15);  // one cell fewer
  const struct {
    std::vector<std::string> arguments;
    int status;
  } cases[] = {
      {{"inspect", "--all", files.line_geometry.string()}, 1},
      {{"inspect", files.entry_table.string()}, 1},
      {{"explain", "25"}, 1},
      {{"explain", "--markdown"}, 1},
      {{"diff", files.cell_grid.string(), other.string()}, 2},
      {{"--help"}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments.front() + " " + c.arguments.back());
    const Outcome outcome = run_tool(c.arguments, "/dev/full");
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_NE(outcome.err.find("cannot write the output: No space left on device\n"), std::string::npos)
        << outcome.err;
  }
}

// A directory this user may write and search but not read cannot be put on
// disk after the renames: the run fails before the first of them, leaving
// the earlier set whole and nothing of its own.
TEST(UnreadableDirectory, CompileFailsBeforeItChangesAnything) {
  TempDir dir;
  const RunFiles files = compiled_builtin(dir.path());
  testing::plant_earlier_files(testing::binaries(files));
  const testing::Snapshot before = testing::snapshot(testing::files_left(files));
  const std::set<std::string> names_before = names_in(dir.path());
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) give_to_nobody(entry.path());
  give_to_nobody(dir.path());
  std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_write | std::filesystem::perms::owner_exec);

  const Outcome outcome = run_tool(compile_builtin(dir.path()), "", as_nobody());

  std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
  EXPECT_EQ(outcome.status, 1);
  EXPECT_NE(outcome.err.find("cannot open the directory " + dir.path().string() + ": Permission denied"),
            std::string::npos)
      << outcome.err;
  EXPECT_EQ(testing::snapshot(testing::files_left(files)), before);
  EXPECT_EQ(names_in(dir.path()), names_before);
}

// The sweep of killed runs' temporaries takes only those of the files a run
// writes: a user's files of the same shape stay, whoever wrote them.
TEST(DeadTemporaries, OnlyTheRunsOwnAreSwept) {
  TempDir dir;
  testing::write_builtin_sources(dir.path());
  const std::string gone = "4000000";  // above any process id the system gives
  const struct {
    std::string name;
    bool swept;
  } cases[] = {
      {".thesis.tex.part-" + gone + "-draft1", false},
      {".notes.part-" + gone + "-backup", false},
      {".holiday.dat.part-" + gone + "-a1B2c3", false},
      {"." + std::string(kBuiltInScenario) + "_" + std::string(kBuiltInTrain) + ".dat.part-" + gone + "-a1B2c3", true},
      {"." + std::string(kBuiltInScenario) + "_linea.txt.part-" + gone + "-a1B2c3", true},
  };
  for (const auto& c : cases) testing::plant_earlier_files({dir / c.name});

  EXPECT_EQ(run_tool(compile_builtin(dir.path())).status, 0);
  for (const auto& c : cases) EXPECT_EQ(std::filesystem::exists(dir / c.name), !c.swept) << c.name;
}

// Messages that name the real cause, not what it led to.
TEST(SaidFailures, MessagesNameTheCause) {
  TempDir dir;
  testing::write_builtin_sources(dir.path());
  const std::filesystem::path linked = dir / "linked";
  std::filesystem::create_directory(linked);
  std::filesystem::create_symlink(dir / "elsewhere", linked / std::string(kRunLockName));
  TempDir empty;
  const struct {
    std::vector<std::string> arguments;
    int status;
    std::string says;
  } cases[] = {
      {{"compile", "-x", "1"},
       2,
       "scenario compile: -x is not an option of compile; a SCENARIO or TRAIN that begins with '-' goes after --"},
      {{"compile", "--dir", empty.path().string(), "--", "-x", "1"}, 1, "-x_linea.txt does not exist"},
      {{"export", "--dir", ""}, 2, "--dir: empty: name a directory, or leave --dir out for the current one"},
      {{"compile", "--dir", "/proc", "S", "T"}, 1, "/proc/.scenario.lock: its directory takes no new files"},
      {{"export", "--dir", "/proc/new"}, 1, "cannot make the directory /proc/new: its directory takes no new files"},
      {{"export", "--dir", (dir / "Dorvallo_Brisente_linea.txt").string()},
       1,
       "cannot write into " + (dir / "Dorvallo_Brisente_linea.txt").string() + ": Not a directory"},
      {{"compile", "--dir", linked.string(), "S", "T"},
       1,
       "it is a symbolic link, which a run never follows; remove it"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.says);
    const Outcome outcome = run_tool(c.arguments);
    EXPECT_EQ(outcome.status, c.status) << outcome.err;
    EXPECT_NE(outcome.err.find(c.says), std::string::npos) << outcome.err;
  }
}

// A directory shared by two users: the second waits for the first one's run
// on the lock file that run made, rather than failing on its permissions.
TEST(SharedDirectory, SecondUserWaitsOnTheFirstOnesLockFile) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs a second user: runs as root";
  TempDir dir;
  testing::write_builtin_sources(dir.path());
  std::filesystem::permissions(dir.path(), std::filesystem::perms::all);
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    std::filesystem::permissions(entry.path(), std::filesystem::perms::all);
  }
  std::optional<RunLock> first(std::in_place, dir.path());
  std::filesystem::permissions(dir / std::string(kRunLockName), std::filesystem::perms::owner_read |
                                                                    std::filesystem::perms::owner_write |
                                                                    std::filesystem::perms::group_read |
                                                                    std::filesystem::perms::others_read);
  testing::TempDir output;
  const pid_t second = ::fork();
  if (second == 0) {
    std::vector<std::string> words = as_nobody();
    words.emplace_back(SCENARIO_PROGRAM);
    const std::vector<std::string> compile = compile_builtin(dir.path());
    words.insert(words.end(), compile.begin(), compile.end());
    const std::string program = words.front();
    words.erase(words.begin());
    const std::optional<int> status = testing::run_program(program, words, kEnvironment, kAllowed, "", output / "err");
    ::_exit(status.value_or(99));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(std::filesystem::exists(testing::builtin_files(dir.path()).cell_grid));  // still waiting
  first.reset();
  int status = 0;
  ::waitpid(second, &status, 0);
  EXPECT_EQ(WEXITSTATUS(status), 0) << bytes_of(output / "err").value_or("");
  EXPECT_TRUE(std::filesystem::exists(testing::builtin_files(dir.path()).cell_grid));
}

// A lock file the other user's run made private: the message says whose it
// is and what to do, not just "Permission denied".
TEST(SharedDirectory, LockFileThatCannotBeOpenedNamesItsOwner) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs a second user: runs as root";
  TempDir dir;
  std::filesystem::permissions(dir.path(), std::filesystem::perms::all);
  testing::plant_earlier_files({dir / std::string(kRunLockName)});
  std::filesystem::permissions(dir / std::string(kRunLockName),
                               std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  const Outcome outcome = run_tool({"compile", "--dir", dir.path().string(), "S", "T"}, "", as_nobody());
  EXPECT_EQ(outcome.status, 1);
  EXPECT_NE(outcome.err.find("cannot open the lock file of another user's run (user 0 made it"), std::string::npos)
      << outcome.err;
}

}  // namespace
}  // namespace scenario
