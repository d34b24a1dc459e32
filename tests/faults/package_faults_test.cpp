#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "faults/package_copy.h"
#include "faults/scenario_snapshot.h"
#include "io/run_lock.h"

namespace scenario {
namespace {

using testing::binaries;
using testing::complete_files;
using testing::files_left;
using testing::inodes;
using testing::kProgramName;
using testing::names_in;
using testing::PackageCopy;
using testing::Snapshot;
using testing::snapshot;

constexpr int kFailedRun = 1;

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

void put_directory_in_place_of(const std::filesystem::path& file) {
  std::filesystem::remove(file);
  std::filesystem::create_directory(file);
}

void put_directory_in_place_of_cell_grid(const std::filesystem::path& dir) {
  put_directory_in_place_of(testing::builtin_files(dir).cell_grid);
}

// The first document, written after both sources.
void put_directory_in_place_of_notes(const std::filesystem::path& dir) {
  put_directory_in_place_of(testing::builtin_files(dir).notes);
}

// A file size limit makes a write fail part-way as a full disk does, for root
// too. The run must see the failed write, not be killed by the limit's signal.
std::vector<std::string> disk_full_after(int bytes) {
  std::signal(SIGXFSZ, SIG_IGN);
  return {"/usr/bin/prlimit", "--fsize=" + std::to_string(bytes), "--"};
}

std::string name_of(std::filesystem::path RunFiles::*file) {
  return (testing::builtin_files("").*file).filename().string();
}

struct Fault {
  std::string what;
  std::vector<std::string> command;
  std::string failing;  // the file the run cannot write
  void (*prepare)(const std::filesystem::path& dir);
};

// The sources (about 6 KB each) and the documents (at most 15 KB) fit in
// 16 KB; the line geometry file (about 2.5 MB) does not. The sources fit in
// 8 KB, the timetable card does not.
constexpr int kBelowTheFirstSource = 1024;
constexpr int kAboveTheSources = 8 * 1024;
constexpr int kAboveEveryTextFile = 16 * 1024;

TEST(PackageFaults, FailedRunSaysWhyAndLosesNoEarlierFile) {
  const std::vector<Fault> faults = {
      {"a directory the run may not write", as_nobody(), std::string(kRunLockName), make_read_only},
      {"a disk full in the first source", disk_full_after(kBelowTheFirstSource), name_of(&RunFiles::line_source),
       nullptr},
      {"a disk full in the line geometry file", disk_full_after(kAboveEveryTextFile),
       name_of(&RunFiles::line_geometry), nullptr},
      {"a directory where the cell grid goes", {}, name_of(&RunFiles::cell_grid), put_directory_in_place_of_cell_grid},
      // After both sources are written: they go all the same.
      {"a directory where the notes sheet goes", {}, name_of(&RunFiles::notes), put_directory_in_place_of_notes},
      {"a disk full in the timetable card", disk_full_after(kAboveTheSources), name_of(&RunFiles::timetable),
       nullptr},
  };
  ASSERT_EQ(complete_files().size(), 6u) << "a clean run does not leave its six files";
  for (const Fault& fault : faults) {
    SCOPED_TRACE(fault.what);
    PackageCopy package;
    const RunFiles files = package.files();
    testing::plant_earlier_files(files_left(files));
    if (fault.prepare != nullptr) fault.prepare(package.dir());
    const Snapshot before = snapshot(files_left(files));
    const Snapshot binaries_before = snapshot(binaries(files));
    const auto binary_inodes_before = inodes(binaries(files));

    EXPECT_EQ(package.run(fault.command), kFailedRun);

    // One line that names the file and the reason.
    EXPECT_NE(package.err.find(fault.failing), std::string::npos) << package.err;
    EXPECT_EQ(package.err.find('\n'), package.err.size() - 1) << package.err;
    // The binary set is the earlier one, each file untouched; a document is
    // as the earlier run left it or as a clean run writes it.
    EXPECT_EQ(snapshot(binaries(files)), binaries_before);
    EXPECT_EQ(inodes(binaries(files)), binary_inodes_before);
    const Snapshot after = snapshot(files_left(files));
    for (const auto& [name, bytes] : after) {
      EXPECT_TRUE(bytes == before.at(name) || bytes == complete_files().at(name)) << name;
    }
    // Nothing lost, nothing left over: no temporary file, no source, no lock.
    std::set<std::string> expected{kProgramName};
    for (const auto& [name, bytes] : before) expected.insert(name);
    EXPECT_EQ(names_in(package.dir()), expected);
  }
}

}  // namespace
}  // namespace scenario
