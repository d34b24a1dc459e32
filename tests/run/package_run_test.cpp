#include <gtest/gtest.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace scenario {
namespace {

using testing::run_program;
using testing::TempDir;

const char* const kDocuments[] = {"Dorvallo_Brisente_47302_note.txt", "Dorvallo_Brisente_47302_rallentamenti.txt",
                                  "Dorvallo_Brisente_47302_scheda_treno.txt"};
const char* const kBinaries[] = {"Dorvallo_Brisente_linea.dat", "Dorvallo_Brisente_47302.sim",
                                 "Dorvallo_Brisente_47302.dat"};

// The package writes into the directory that holds it: each test runs its own
// copy in a fresh directory.
std::string install_package(const TempDir& dir) {
  const std::filesystem::path copy = dir / "dorvallo_brisente";
  std::filesystem::copy_file(PACKAGE_PROGRAM, copy);
  return copy.string();
}

std::vector<std::string> environment_with(const std::string& extra) {
  std::vector<std::string> environment{"PATH=/usr/bin:/bin"};
  if (!extra.empty()) environment.push_back(extra);
  return environment;
}

void expect_documents_and_binaries_only(const TempDir& dir) {
  for (const char* name : kDocuments) EXPECT_TRUE(std::filesystem::exists(dir / name)) << name;
  for (const char* name : kBinaries) EXPECT_TRUE(std::filesystem::exists(dir / name)) << name;
  EXPECT_FALSE(std::filesystem::exists(dir / "Dorvallo_Brisente_linea.txt"));
  EXPECT_FALSE(std::filesystem::exists(dir / "Dorvallo_Brisente_47302-.txt"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 7);  // and the program
}

// A virtual X server on a display number it picks itself.
class VirtualDisplay {
 public:
  VirtualDisplay() {
    int pipe_fds[2];
    if (::pipe(pipe_fds) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(pipe_fds[0]);
      const std::string fd = std::to_string(pipe_fds[1]);
      ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0", "640x480x24",
               static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(pipe_fds[1]);
    char number[16] = {};
    const ssize_t got = ::read(pipe_fds[0], number, sizeof number - 1);
    ::close(pipe_fds[0]);
    if (got > 0) display_ = ":" + std::string(number, static_cast<size_t>(got - (number[got - 1] == '\n')));
  }
  ~VirtualDisplay() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  const std::string& name() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

TEST(PackageRun, WithoutDisplayRunsOnTheConsoleAndEndsByItself) {
  TempDir dir;
  const std::string program = install_package(dir);
  EXPECT_EQ(run_program(program, {}, environment_with("")), 0);
  expect_documents_and_binaries_only(dir);
}

TEST(PackageRun, UnopenableDisplayFallsBackToTheConsole) {
  TempDir dir;
  const std::string program = install_package(dir);
  EXPECT_EQ(run_program(program, {}, environment_with("DISPLAY=:4711")), 0);
  expect_documents_and_binaries_only(dir);
}

TEST(PackageRun, UnderAnXServerShowsItsWindowAndEndsByItself) {
  ASSERT_EQ(std::system("command -v Xvfb >/dev/null 2>&1"), 0)
      << "Xvfb is missing: scripts/install-deps.sh installs it with the rest of the build's packages";
  VirtualDisplay display;
  ASSERT_FALSE(display.name().empty()) << "Xvfb did not start";
  TempDir dir;
  const std::string program = install_package(dir);
  EXPECT_EQ(run_program(program, {}, environment_with("DISPLAY=" + display.name())), 0);
  expect_documents_and_binaries_only(dir);
}

// The names that came into being in dir (each file is renamed into place
// once complete) and that were deleted, in the order it happened.
class DirectoryEvents {
 public:
  explicit DirectoryEvents(const std::filesystem::path& dir) : fd_(::inotify_init1(IN_NONBLOCK)) {
    ::inotify_add_watch(fd_, dir.c_str(), IN_MOVED_TO | IN_DELETE);
  }
  ~DirectoryEvents() { ::close(fd_); }
  std::vector<std::string> read_all() const {
    std::vector<std::string> events;
    alignas(inotify_event) char buffer[1 << 16];
    ssize_t got;
    while ((got = ::read(fd_, buffer, sizeof buffer)) > 0) {
      for (char* at = buffer; at < buffer + got;) {
        const auto* event = reinterpret_cast<const inotify_event*>(at);
        events.push_back(std::string(event->mask & IN_DELETE ? "deleted " : "") + event->name);
        at += sizeof(inotify_event) + event->len;
      }
    }
    return events;
  }

 private:
  int fd_;
};

TEST(PackageRun, WritesItsEightFilesInOrderAndDeletesTheSourcesAfterReading) {
  TempDir dir;
  const std::string program = install_package(dir);
  const DirectoryEvents events(dir.path());
  ASSERT_EQ(run_program(program, {}, environment_with("")), 0);
  const std::vector<std::string> expected = {
      "Dorvallo_Brisente_linea.txt",
      "Dorvallo_Brisente_47302-.txt",
      "Dorvallo_Brisente_47302_note.txt",
      "Dorvallo_Brisente_47302_rallentamenti.txt",
      "Dorvallo_Brisente_47302_scheda_treno.txt",
      "deleted Dorvallo_Brisente_linea.txt",
      "deleted Dorvallo_Brisente_47302-.txt",
      "Dorvallo_Brisente_linea.dat",
      "Dorvallo_Brisente_47302.sim",
      "Dorvallo_Brisente_47302.dat",
      "deleted .scenario.lock",  // the run's lock, let go at the end
  };
  EXPECT_EQ(events.read_all(), expected);
}

TEST(PackageRun, FileThatCannotBeWrittenEndsTheRunWithAnError) {
  TempDir dir;
  const std::string program = install_package(dir);
  // A directory in the place of the notes sheet: the sheet cannot be written.
  std::filesystem::create_directory(dir / kDocuments[0]);
  EXPECT_EQ(run_program(program, {}, environment_with("")), 1);
  for (const char* name : kBinaries) EXPECT_FALSE(std::filesystem::exists(dir / name)) << name;
}

}  // namespace
}  // namespace scenario
