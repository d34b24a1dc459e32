#include <gtest/gtest.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <optional>
#include <string>

#include "faults/package_copy.h"
#include "faults/scenario_snapshot.h"
#include "io/temporaries.h"

namespace scenario {
namespace {

using testing::PackageCopy;

// Files made in a directory, as they appear.
class CreationWatch {
 public:
  explicit CreationWatch(const std::filesystem::path& dir) : fd_(::inotify_init1(IN_CLOEXEC)) {
    ::inotify_add_watch(fd_, dir.c_str(), IN_CREATE);
  }
  CreationWatch(const CreationWatch&) = delete;
  CreationWatch& operator=(const CreationWatch&) = delete;
  ~CreationWatch() { ::close(fd_); }

  // The name of the next file made whose name starts with prefix; nothing when
  // none comes within the time allowed.
  std::optional<std::string> next_starting_with(const std::string& prefix, int allowed_ms) {
    alignas(inotify_event) char buffer[4096];
    pollfd ready{fd_, POLLIN, 0};
    while (::poll(&ready, 1, allowed_ms) == 1) {
      const ssize_t got = ::read(fd_, buffer, sizeof buffer);
      for (ssize_t at = 0; at < got;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        const std::string name = event->len > 0 ? event->name : "";
        if (name.starts_with(prefix)) return name;
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
    }
    return std::nullopt;
  }

 private:
  int fd_;
};

constexpr int kAttempts = 20;
constexpr int kAllowedMs = 30000;

// The package stopped while its line geometry file is still a temporary, then
// killed: the next run completes and leaves no trace of the killed one.
TEST(KilledRun, NextRunLeavesNoTemporaryOfTheKilledOne) {
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    PackageCopy package;
    const std::string geometry = package.files().line_geometry.filename().string();
    CreationWatch watch(package.dir());
    testing::TempDir output;
    testing::BackgroundRun run(package.program().string(), {}, output / "err");
    const std::optional<std::string> temporary = watch.next_starting_with("." + geometry + ".", kAllowedMs);
    ASSERT_TRUE(temporary) << "the run made no temporary of " << geometry;
    ::kill(run.pid(), SIGSTOP);
    const bool caught_mid_write = std::filesystem::exists(package.dir() / *temporary);
    ::kill(run.pid(), SIGKILL);
    run.wait();
    if (!caught_mid_write) continue;  // it had renamed the file already: try again

    std::set<std::string> litter;
    for (const std::string& name : testing::names_in(package.dir())) {
      if (temporary_writer(name)) litter.insert(name);
    }
    EXPECT_TRUE(litter.contains(*temporary));

    EXPECT_EQ(package.run(), 0) << package.err;
    EXPECT_EQ(testing::names_in(package.dir()), testing::complete_directory());
    EXPECT_EQ(testing::snapshot(testing::files_left(package.files())), testing::complete_files());
    return;
  }
  FAIL() << "no run was stopped before its line geometry file was renamed, in " << kAttempts << " attempts";
}

}  // namespace
}  // namespace scenario
