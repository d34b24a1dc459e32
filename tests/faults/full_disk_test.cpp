#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "faults/package_copy.h"
#include "faults/scenario_snapshot.h"

namespace scenario {
namespace {

using testing::binaries;
using testing::inodes;
using testing::names_in;
using testing::snapshot;

constexpr int kFailedRun = 1;

// A small file system of its own: a tmpfs over a fresh directory, unmounted
// at the end. Mounting needs root; CI runs as root.
class SmallDisk {
 public:
  SmallDisk() {
    if (::mount("tmpfs", dir_.path().c_str(), "tmpfs", 0, "size=64m") != 0) error_ = std::strerror(errno);
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;
  ~SmallDisk() {
    if (error_.empty()) ::umount2(dir_.path().c_str(), MNT_DETACH);
  }

  // Why the tmpfs could not be mounted; empty when it is.
  const std::string& error() const { return error_; }
  const std::filesystem::path& dir() const { return dir_.path(); }

  // Shrinks the disk to what it holds now and bytes more.
  void leave_free(uintmax_t bytes) {
    struct statvfs status {};
    ::statvfs(dir_.path().c_str(), &status);
    const uintmax_t used = (status.f_blocks - status.f_bfree) * status.f_frsize;
    const std::string size = "size=" + std::to_string(used + bytes);
    if (::mount("tmpfs", dir_.path().c_str(), "tmpfs", MS_REMOUNT, size.c_str()) != 0) {
      ADD_FAILURE() << "cannot shrink the tmpfs: " << std::strerror(errno);
    }
  }

 private:
  testing::TempDir dir_;
  std::string error_;
};

uintmax_t pages(size_t bytes) {
  const auto page = static_cast<uintmax_t>(::sysconf(_SC_PAGESIZE));
  return (bytes + page - 1) / page * page;
}

// `scenario compile` on a disk that runs out in each of the three files in
// turn: every file of the earlier set stays as it was, and nothing is left.
TEST(FullDisk, CompileThatRunsOutOfSpaceInAnyFileReplacesNone) {
  const testing::Snapshot& complete = testing::complete_files();
  uintmax_t room_before = 0;  // what the files written before the failing one take
  for (const std::filesystem::path& failing : binaries(testing::builtin_files(""))) {
    const std::string name = failing.filename().string();
    SCOPED_TRACE(name);
    SmallDisk disk;
    if (!disk.error().empty()) {
      if (::geteuid() == 0) FAIL() << "root cannot mount a tmpfs: " << disk.error();
      GTEST_SKIP() << "mounting a tmpfs needs root: " << disk.error();
    }
    const RunFiles files = testing::write_builtin_sources(disk.dir());
    testing::plant_earlier_files(binaries(files));
    const testing::Snapshot before = snapshot(binaries(files));
    const auto inodes_before = inodes(binaries(files));
    const uintmax_t room_for_failing = pages(complete.at(name).size());
    disk.leave_free(room_before + room_for_failing / 2);
    room_before += room_for_failing;

    testing::TempDir output;
    const std::optional<int> status = testing::run_program(
        SCENARIO_PROGRAM,
        {"compile", "--dir", disk.dir().string(), std::string(kBuiltInScenario), std::string(kBuiltInTrain)},
        testing::kConsoleEnvironment, std::chrono::seconds(60), "", output / "err");

    EXPECT_EQ(status, kFailedRun);
    const std::string err = testing::bytes_of(output / "err").value_or("");
    EXPECT_NE(err.find(name + ": No space left on device"), std::string::npos) << err;
    EXPECT_EQ(snapshot(binaries(files)), before);
    EXPECT_EQ(inodes(binaries(files)), inodes_before);
    std::set<std::string> expected{files.line_source.filename().string(), files.train_source.filename().string()};
    for (const auto& [binary, bytes] : before) expected.insert(binary);
    EXPECT_EQ(names_in(disk.dir()), expected);
  }
}

}  // namespace
}  // namespace scenario
