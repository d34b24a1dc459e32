#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "faults/package_copy.h"
#include "faults/scenario_snapshot.h"
#include "inspect/scenario_file.h"
#include "io/intent_record.h"
#include "io/run_lock.h"
#include "run/run_sequence.h"
#include "support/scripted_file_system.h"
#include "tool/commands.h"
#include "tool/compile_command.h"

namespace scenario {
namespace {

using testing::FileCall;
using testing::ScriptedFileSystem;
using testing::Snapshot;
using testing::TempDir;

// The binaries of a complete run, the same in every directory.
Snapshot new_set() {
  Snapshot set;
  for (const auto& [name, bytes] : testing::complete_files()) {
    if (!name.ends_with(".txt")) set[name] = bytes;
  }
  return set;
}

// A run that a test stops or fails wherever it chooses: what the directory
// holds before it, and the run itself, which returns its exit status.
struct ScenarioRun {
  const char* what;
  std::function<void(const RunFiles&)> prepare;
  std::function<int(const std::filesystem::path&)> run;
  std::function<std::set<std::string>(const RunFiles&)> complete_directory;
};

int compile_in(const std::filesystem::path& dir) {
  return tool::compile({.dir = dir.string(), .scenario = std::string(kBuiltInScenario),
                        .train = std::string(kBuiltInTrain)});
}

int package_run_in(const std::filesystem::path& dir) {
  try {
    run_package(dir);
    return tool::kSuccess;
  } catch (const std::exception&) {
    return tool::kScenarioError;
  }
}

std::set<std::string> names_of(const std::vector<std::filesystem::path>& paths) {
  std::set<std::string> names;
  for (const std::filesystem::path& path : paths) names.insert(path.filename().string());
  return names;
}

// The author's sources and an earlier compile's binaries; the sources stay.
const ScenarioRun kCompile{
    "compile",
    [](const RunFiles& files) {
      testing::write_builtin_sources(files.line_source.parent_path());
      testing::plant_earlier_files(testing::binaries(files));
    },
    compile_in,
    [](const RunFiles& files) {
      std::set<std::string> names = names_of(testing::binaries(files));
      names.insert({files.line_source.filename().string(), files.train_source.filename().string()});
      return names;
    },
};

// An earlier package run's six files; the package's own sources go.
const ScenarioRun kPackageRun{
    "package run",
    [](const RunFiles& files) { testing::plant_earlier_files(testing::files_left(files)); },
    package_run_in,
    [](const RunFiles& files) { return names_of(testing::files_left(files)); },
};

// The set as a command that reads it finds it: whole old, whole new, or
// something else, which no instant of a run may leave.
std::string set_found(const RunFiles& files, const Snapshot& old_set) {
  settle_pending_switch(files.entry_table.parent_path());
  const Snapshot found = testing::snapshot(testing::binaries(files));
  return found == old_set ? "old" : found == new_set() ? "new" : "mixed or damaged";
}

// Where the runs below write: a file system in memory when there is one, as
// a run is repeated for each of its operations and flushing to a real disk
// would be most of the test's time.
std::filesystem::path run_parent() {
  std::error_code ignored;
  if (std::filesystem::is_directory("/dev/shm", ignored)) return "/dev/shm";
  return std::filesystem::temp_directory_path();
}

// The operations of a whole run, in order.
std::vector<FileCall> calls_of(const ScenarioRun& run) {
  TempDir dir(run_parent());
  const RunFiles files = testing::builtin_files(dir.path());
  run.prepare(files);
  ScriptedFileSystem file_system;
  EXPECT_EQ(run.run(dir.path()), tool::kSuccess);
  return file_system.calls();
}

// A compile and a package run, each stopped just before each of its file
// operations in turn, as a crash would stop it there: a command that reads
// the set then finds the whole old set or the whole new one, and the next
// run completes with the new set and no litter (no temporary, intent record
// or lock file).
TEST(StoppedRun, EveryInstantLeavesOneWholeSetAndTheNextRunCompletes) {
  for (const ScenarioRun& run : {kCompile, kPackageRun}) {
    const size_t count = calls_of(run).size();
    std::set<std::string> found;
    for (size_t n = 1; n <= count; ++n) {
      SCOPED_TRACE(std::string(run.what) + " stopped before file operation " + std::to_string(n));
      TempDir dir(run_parent());
      const RunFiles files = testing::builtin_files(dir.path());
      run.prepare(files);
      const Snapshot old_set = testing::snapshot(testing::binaries(files));
      ASSERT_EQ(testing::in_child([&] {
                  ScriptedFileSystem file_system(testing::stop_at(n));
                  return run.run(dir.path());
                }),
                testing::kStoppedStatus);
      const std::string state = set_found(files, old_set);
      EXPECT_TRUE(state == "old" || state == "new") << state;
      found.insert(state);
      ASSERT_EQ(run.run(dir.path()), tool::kSuccess);
      EXPECT_EQ(testing::snapshot(testing::binaries(files)), new_set());
      EXPECT_EQ(testing::names_in(dir.path()), run.complete_directory(files));
    }
    EXPECT_EQ(found, (std::set<std::string>{"old", "new"})) << run.what;
  }
}

// A compile whose file operations fail one at a time, with the errors a disk
// gives: the author reads which operation failed on which file and why, and
// the earlier set stays whole unless the new one was already decided, in
// which case the next run puts it in place.
TEST(FailingCompile, EachFailedOperationIsSaidAndLeavesOneWholeSet) {
  constexpr std::array kErrors = {EIO, ENOSPC, EACCES, EXDEV};
  const std::vector<FileCall> calls = calls_of(kCompile);
  for (const FileCall& call : calls) {
    const int error = kErrors[call.number % kErrors.size()];
    SCOPED_TRACE(std::string(op_name(call.op)) + " " + call.path.string() + " failing with " + std::strerror(error));
    TempDir dir(run_parent());
    const RunFiles files = testing::builtin_files(dir.path());
    kCompile.prepare(files);
    const Snapshot old_set = testing::snapshot(testing::binaries(files));
    ::testing::internal::CaptureStderr();
    int status = 0;
    {
      ScriptedFileSystem file_system(testing::fail_at(call.number, error));
      status = compile_in(dir.path());
    }
    const std::string message = ::testing::internal::GetCapturedStderr();
    if (status == tool::kSuccess) {  // letting go of the lock file, closing a directory once flushed
      EXPECT_EQ(set_found(files, old_set), "new") << message;
    } else {
      EXPECT_EQ(status, tool::kScenarioError) << message;
      EXPECT_TRUE(testing::names_failure(message, call.op, error)) << message;
      const bool decided = message.find("puts them in place") != std::string::npos;
      EXPECT_EQ(set_found(files, old_set), decided ? "new" : "old") << message;
    }
    ASSERT_EQ(compile_in(dir.path()), tool::kSuccess);
    EXPECT_EQ(testing::names_in(dir.path()), kCompile.complete_directory(files));
  }
}

// The package flushes to disk every file it leaves, and not the two sources
// that it deletes as soon as it has read them.
TEST(PackageRun, FlushesWhatItLeavesButNotTheSourcesItDeletes) {
  const RunFiles files = testing::builtin_files("");
  std::set<std::string> flushed;
  for (const FileCall& call : calls_of(kPackageRun)) {
    const std::string name = call.path.filename().string();
    const size_t mark = name.find(".part-");
    if (call.op == FileOp::kFsync && name.starts_with('.') && mark != std::string::npos) {
      flushed.insert(name.substr(1, mark - 1));
    }
  }
  std::set<std::string> expected = names_of(testing::files_left(files));
  expected.insert(std::string(kIntentName));
  EXPECT_EQ(flushed, expected);
}

// Two compiles in one directory, the first held between the renames of its
// set: the second cannot take the directory, a reading of the set says that
// it is being switched, and once let go the first completes the new set.
TEST(HeldCompile, HoldsTheDirectoryUntilItsSetIsWhole) {
  TempDir dir(run_parent());
  const RunFiles files = testing::builtin_files(dir.path());
  kCompile.prepare(files);
  testing::Hold hold;
  testing::ChildProcess first([&] {
    ScriptedFileSystem file_system(hold.at([&files](const FileCall& call) {
      return call.op == FileOp::kRename && call.path == files.entry_table;
    }));
    return compile_in(dir.path());
  });
  ASSERT_TRUE(hold.reached());
  EXPECT_THROW(RunLock(dir.path(), std::chrono::milliseconds(0)), DirectoryBusy);
  try {
    decode_scenario_file(files.cell_grid);
    ADD_FAILURE() << "a set between two compiles was read";
  } catch (const ScenarioFileError& e) {
    EXPECT_NE(std::string(e.what()).find("being switched to new ones by another run"), std::string::npos) << e.what();
  }
  hold.release();
  EXPECT_EQ(first.wait(), tool::kSuccess);
  EXPECT_EQ(testing::snapshot(testing::binaries(files)), new_set());
  EXPECT_EQ(testing::names_in(dir.path()), kCompile.complete_directory(files));
}

}  // namespace
}  // namespace scenario
