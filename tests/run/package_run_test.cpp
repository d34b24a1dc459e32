#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "run/window_channel.h"
#include "run/x_display.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace scenario {
namespace {

using testing::bytes_of;
using testing::DisplayWatcher;
using testing::run_program;
using testing::ServerReset;
using testing::SilentDisplay;
using testing::TempDir;
using testing::VirtualDisplay;

const char* const kDocuments[] = {"Dorvallo_Brisente_47302_note.txt", "Dorvallo_Brisente_47302_rallentamenti.txt",
                                  "Dorvallo_Brisente_47302_scheda_treno.txt"};
const char* const kBinaries[] = {"Dorvallo_Brisente_linea.dat", "Dorvallo_Brisente_47302.sim",
                                 "Dorvallo_Brisente_47302.dat"};
const std::string kProgramName = std::filesystem::path(PACKAGE_PROGRAM).filename();
const std::string kWindowProgramName = std::filesystem::path(PACKAGE_WINDOW_PROGRAM).filename();
const std::string kModuleName = std::filesystem::path(PACKAGE_WINDOW_MODULE).filename();

// The program is linked statically but in the sanitizer builds, whose
// runtimes are shared libraries.
const bool kLinkedStatically = std::string_view(PACKAGE_LINK_OPTIONS).find("-static") != std::string_view::npos;

// What lies beside the program where its window program and module belong.
enum class WindowFiles { kInstalled, kNoProgram, kNoModule, kModuleNotALibrary };

// The package writes into the directory that holds it: each test runs its own
// copy, installed as the package is, in a fresh directory.
std::string install_package(const TempDir& dir, WindowFiles window = WindowFiles::kInstalled) {
  std::filesystem::copy_file(PACKAGE_PROGRAM, dir / kProgramName);
  if (window != WindowFiles::kNoProgram) std::filesystem::copy_file(PACKAGE_WINDOW_PROGRAM, dir / kWindowProgramName);
  if (window == WindowFiles::kInstalled || window == WindowFiles::kNoProgram) {
    std::filesystem::copy_file(PACKAGE_WINDOW_MODULE, dir / kModuleName);
  }
  if (window == WindowFiles::kModuleNotALibrary) std::ofstream(dir / kModuleName) << "not a library\n";
  return (dir / kProgramName).string();
}

std::vector<std::string> environment_with(const std::string& extra) {
  std::vector<std::string> environment{"PATH=/usr/bin:/bin"};
  if (!extra.empty()) environment.push_back(extra);
  return environment;
}

// The six files are there, and nothing else but what was installed.
void expect_documents_and_binaries_only(const TempDir& dir) {
  std::set<std::string> expected(std::begin(kDocuments), std::end(kDocuments));
  expected.insert(std::begin(kBinaries), std::end(kBinaries));
  std::set<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) left.insert(entry.path().filename());
  for (const std::string& installed : {kProgramName, kWindowProgramName, kModuleName}) left.erase(installed);
  EXPECT_EQ(left, expected);
}

// Without a display that can be opened the package runs the same way on the
// console, whatever DISPLAY holds, and the window library (whose start-up
// code reads and writes files of its own) is never loaded: the dynamic
// linker's account of what it loaded (LD_DEBUG=libs, on standard error)
// tells. The package itself, linked statically, loads nothing; only a
// DISPLAY that names a display starts the window program, which loads the X
// library to ask for it.
TEST(PackageRun, WithoutADisplayRunsOnTheConsoleWithoutTheWindowLibrary) {
  const struct {
    const char* what;
    const char* variable;
    bool x_asked;
  } kCases[] = {{"unset", "", false}, {"empty", "DISPLAY=", false}, {"no server there", "DISPLAY=:4711", true}};
  for (const auto& display : kCases) {
    SCOPED_TRACE(display.what);
    TempDir dir;
    TempDir log_dir;
    const std::string program = install_package(dir);
    std::vector<std::string> environment = environment_with(display.variable);
    environment.push_back("LD_DEBUG=libs");
    const std::filesystem::path log = log_dir / "loader";
    EXPECT_EQ(run_program(program, {}, environment, std::chrono::seconds(60), "", log.string()), 0);
    expect_documents_and_binaries_only(dir);
    const std::string loaded = bytes_of(log).value_or("");
    EXPECT_EQ(loaded.find("libfltk"), std::string::npos) << loaded;
    EXPECT_EQ(loaded.find("libX11") != std::string::npos, display.x_asked) << loaded;
    if (!kLinkedStatically) {
      EXPECT_NE(loaded.find("libc.so"), std::string::npos) << loaded;
    } else if (!display.x_asked) {
      EXPECT_EQ(loaded, "");
    }
  }
}

// A display that takes the connection and never answers holds the window
// program in the X library: the package ends it once the window is late, and
// runs on the console.
TEST(PackageRun, DisplayThatNeverAnswersCostsAtMostTheWaitForTheWindow) {
  const SilentDisplay display;
  ASSERT_FALSE(display.name().empty()) << "no display number free on 127.0.0.1";
  TempDir dir;
  const std::string program = install_package(dir);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(run_program(program, {}, environment_with("DISPLAY=" + display.name())), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, kWindowReadyWait + std::chrono::seconds(15));
  expect_documents_and_binaries_only(dir);
}

// The package under a virtual X server, one for all the tests of the group.
class PackageUnderAnXServer : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (std::system("command -v Xvfb >/dev/null 2>&1") == 0) display_ = new VirtualDisplay;
  }
  static void TearDownTestSuite() {
    delete display_;
    display_ = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(display_, nullptr)
        << "Xvfb is missing: scripts/install-deps.sh installs it with the rest of the build's packages";
    ASSERT_FALSE(display_->name().empty()) << "Xvfb did not start";
  }
  static std::vector<std::string> environment() { return environment_with("DISPLAY=" + display_->name()); }

  static VirtualDisplay* display_;
};

VirtualDisplay* PackageUnderAnXServer::display_ = nullptr;

TEST_F(PackageUnderAnXServer, ShowsItsWindowAndEndsByItself) {
  DisplayWatcher watcher(display_->name());
  ASSERT_TRUE(watcher.connected()) << display_->name();
  TempDir dir;
  const std::string program = install_package(dir);
  EXPECT_EQ(run_program(program, {}, environment()), 0);
  EXPECT_EQ(watcher.windows_shown(), 1);
  expect_documents_and_binaries_only(dir);
}

// A bare server, with no other client, that starts afresh when its last
// client leaves: the package asks whether the display opens on the
// connection its window then keeps, so it never needs a second one.
TEST(PackageUnderABareXServer, ShowsItsWindowWithNoOtherClient) {
  ASSERT_EQ(std::system("command -v Xvfb >/dev/null 2>&1"), 0)
      << "Xvfb is missing: scripts/install-deps.sh installs it with the rest of the build's packages";
  VirtualDisplay display(ServerReset::kWhenIdle);
  ASSERT_FALSE(display.name().empty()) << "Xvfb did not start";
  TempDir dir;
  const std::string program = install_package(dir);
  EXPECT_EQ(run_program(program, {}, environment_with("DISPLAY=" + display.name())), 0);
  expect_documents_and_binaries_only(dir);
}

// A window program or module that is missing or cannot be loaded leaves
// the console.
TEST_F(PackageUnderAnXServer, WithoutAWorkingWindowRunsOnTheConsole) {
  const struct {
    const char* what;
    WindowFiles window;
  } kCases[] = {{"no window program", WindowFiles::kNoProgram},
                {"no window module", WindowFiles::kNoModule},
                {"a module that is not a library", WindowFiles::kModuleNotALibrary}};
  for (const auto& files : kCases) {
    SCOPED_TRACE(files.what);
    DisplayWatcher watcher(display_->name());
    ASSERT_TRUE(watcher.connected()) << display_->name();
    TempDir dir;
    const std::string program = install_package(dir, files.window);
    EXPECT_EQ(run_program(program, {}, environment()), 0);
    EXPECT_EQ(watcher.windows_shown(), 0);
    expect_documents_and_binaries_only(dir);
  }
}

// A failure shows its box over the waiting window, and the run ends with
// status 1 only once the user has closed the box.
TEST_F(PackageUnderAnXServer, ErrorBoxWaitsForTheUserAndThenEndsTheRun) {
  DisplayWatcher watcher(display_->name());
  ASSERT_TRUE(watcher.connected()) << display_->name();
  TempDir dir;
  const std::string program = install_package(dir);
  std::filesystem::create_directory(dir / kDocuments[0]);  // the notes sheet cannot be written
  std::future<std::optional<int>> status =
      std::async(std::launch::async, [&] { return run_program(program, {}, environment()); });
  const Window box = watcher.wait_for_window("dorvallo_brisente");
  ASSERT_NE(box, 0u);
  EXPECT_NE(watcher.wait_for_window("Form1"), 0u);
  EXPECT_EQ(status.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
  watcher.close(box);
  EXPECT_EQ(status.get(), 1);
  for (const char* name : kBinaries) EXPECT_FALSE(std::filesystem::exists(dir / name)) << name;
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
      ".scenario.intent",  // from here on the switch to the three new files is decided
      "Dorvallo_Brisente_linea.dat",
      "Dorvallo_Brisente_47302.sim",
      "Dorvallo_Brisente_47302.dat",
      "deleted .scenario.intent",
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
