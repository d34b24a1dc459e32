#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "faults/scenario_snapshot.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace scenario {
namespace {

using testing::builtin_files;
using testing::bytes_of;
using testing::files_left;
using testing::names_in;
using testing::Snapshot;
using testing::snapshot;
using testing::TempDir;

constexpr char kProgramName[] = "dorvallo_brisente";
constexpr int kFailedRun = 1;

// A copy of the package in a directory of its own, which is where it writes.
class PackageCopy {
 public:
  PackageCopy() { std::filesystem::copy_file(PACKAGE_PROGRAM, dir_ / kProgramName); }

  const std::filesystem::path& dir() const { return dir_.path(); }
  RunFiles files() const { return builtin_files(dir_.path()); }

  // Runs the copy without a display, behind a command that imposes a fault
  // (none when empty); what it says on stderr is kept in err.
  std::optional<int> run(const std::vector<std::string>& fault_command = {}) {
    std::vector<std::string> arguments = fault_command;
    arguments.push_back((dir_ / kProgramName).string());
    const std::string program = arguments.front();
    arguments.erase(arguments.begin());
    const std::optional<int> status =
        testing::run_program(program, arguments, {"PATH=/usr/bin:/bin"}, std::chrono::seconds(60), "", output_ / "err");
    err = bytes_of(output_ / "err").value_or("");
    return status;
  }

  std::string err;

 private:
  TempDir dir_;
  TempDir output_;
};

// The six files of a clean run, the same in every directory.
const Snapshot& complete_files() {
  static const Snapshot files = [] {
    PackageCopy package;
    package.run();
    return snapshot(files_left(package.files()));
  }();
  return files;
}

std::vector<std::string> as_nobody() {
  // Root writes through any permission bits: only another user is refused.
  if (::geteuid() != 0) return {};
  return {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"};
}

void make_read_only(const std::filesystem::path& dir) {
  using std::filesystem::perms;
  std::filesystem::permissions(dir, perms::owner_read | perms::owner_exec | perms::group_read | perms::group_exec |
                                        perms::others_read | perms::others_exec);
}

void put_directory_in_place_of_cell_grid(const std::filesystem::path& dir) {
  const std::filesystem::path cell_grid = builtin_files(dir).cell_grid;
  std::filesystem::remove(cell_grid);
  std::filesystem::create_directory(cell_grid);
}

// A file size limit makes a write fail part-way as a full disk does, for root
// too. The run must see the failed write, not be killed by the limit's signal.
std::vector<std::string> disk_full_after(int bytes) {
  std::signal(SIGXFSZ, SIG_IGN);
  return {"/usr/bin/prlimit", "--fsize=" + std::to_string(bytes), "--"};
}

struct Fault {
  std::string what;
  std::vector<std::string> command;
  std::filesystem::path RunFiles::*failing;  // the file the run cannot write
  void (*prepare)(const std::filesystem::path& dir);
};

// The sources (about 6 KB each) and the documents (at most 15 KB) fit in
// 16 KB; the line geometry file (about 2.5 MB) does not.
constexpr int kBelowTheFirstSource = 1024;
constexpr int kAboveEveryTextFile = 16 * 1024;

TEST(PackageFaults, FailedRunSaysWhyAndLosesNoEarlierFile) {
  const std::vector<Fault> faults = {
      {"a directory the run may not write", as_nobody(), &RunFiles::line_source, make_read_only},
      {"a disk full in the first source", disk_full_after(kBelowTheFirstSource), &RunFiles::line_source, nullptr},
      {"a disk full in the line geometry file", disk_full_after(kAboveEveryTextFile), &RunFiles::line_geometry,
       nullptr},
      {"a directory where the cell grid goes", {}, &RunFiles::cell_grid, put_directory_in_place_of_cell_grid},
  };
  ASSERT_EQ(complete_files().size(), 6u) << "a clean run does not leave its six files";
  for (const Fault& fault : faults) {
    SCOPED_TRACE(fault.what);
    PackageCopy package;
    const RunFiles files = package.files();
    testing::plant_earlier_files(files_left(files));
    if (fault.prepare != nullptr) fault.prepare(package.dir());
    const Snapshot before = snapshot(files_left(files));

    EXPECT_EQ(package.run(fault.command), kFailedRun);

    // One line that names the file and the reason.
    const std::string failing = (files.*fault.failing).filename().string();
    EXPECT_NE(package.err.find(failing), std::string::npos) << package.err;
    EXPECT_EQ(package.err.find('\n'), package.err.size() - 1) << package.err;
    // Each file is whole: as the earlier run left it, or as a clean run
    // writes it; the one that failed is as it was.
    const Snapshot after = snapshot(files_left(files));
    for (const auto& [name, bytes] : after) {
      if (name == failing) {
        EXPECT_EQ(bytes, before.at(name)) << name;
      } else {
        EXPECT_TRUE(bytes == before.at(name) || bytes == complete_files().at(name)) << name;
      }
    }
    // Nothing lost, nothing left over: no temporary file, no source.
    std::set<std::string> expected{kProgramName};
    for (const auto& [name, bytes] : before) expected.insert(name);
    EXPECT_EQ(names_in(package.dir()), expected);
  }
}

}  // namespace
}  // namespace scenario
