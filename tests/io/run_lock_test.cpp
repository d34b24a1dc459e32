#include "io/run_lock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>

#include "io/replace_file.h"
#include "support/temp_dir.h"

namespace scenario {
namespace {

using namespace std::chrono_literals;
using testing::TempDir;

// flock locks of two opens exclude each other within one process as well, so
// one test process can play both runs.
TEST(RunLock, SecondRunGivesUpAfterItsWaitNamingTheDirectory) {
  TempDir dir;
  const RunLock first(dir.path());
  try {
    const RunLock second(dir.path(), 50ms);
    ADD_FAILURE() << "two runs held the directory";
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find("another run is using " + dir.path().string()), std::string::npos)
        << error.what();
  }
}

TEST(RunLock, SecondRunWaitsForTheFirstThenHoldsTheDirectory) {
  TempDir dir;
  std::optional<RunLock> first(std::in_place, dir.path());
  std::thread release([&first] {
    std::this_thread::sleep_for(100ms);
    first.reset();
  });
  const auto start = std::chrono::steady_clock::now();
  {
    const RunLock second(dir.path(), 10s);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 100ms);
    release.join();
    EXPECT_THROW(RunLock(dir.path(), 0ms), std::runtime_error);
  }
  EXPECT_NO_THROW(RunLock(dir.path(), 0ms));
}

TEST(RunLock, DirectoryAtRestHasNoLockFile) {
  TempDir dir;
  { const RunLock lock(dir.path()); EXPECT_TRUE(std::filesystem::exists(dir / std::string(kRunLockName))); }
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(RunLock, LeftoverLockFileOfAKilledRunIsTakenOver) {
  TempDir dir;
  replace_file(dir / std::string(kRunLockName), "");
  { const RunLock lock(dir.path(), 0ms); }
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(RunLock, DirectoryThatCannotHoldALockFileIsAnError) {
  TempDir dir;
  EXPECT_THROW(RunLock(dir / "missing"), std::system_error);
}

}  // namespace
}  // namespace scenario
