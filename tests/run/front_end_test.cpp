#include "run/front_end.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "run/x_display.h"
#include "support/temp_dir.h"

namespace scenario {
namespace {

using std::chrono::steady_clock;
using testing::TempDir;
using testing::VirtualDisplay;
using testing::WindowManagerThatMapsNothing;

const std::string kWindowProgramName = std::filesystem::path(PACKAGE_WINDOW_PROGRAM).filename();

// Short enough for a test, long enough for a shell to start and answer.
constexpr std::chrono::milliseconds kShortWait{500};
// However slow the machine, a wait that was kept ends within this of its time.
constexpr std::chrono::seconds kMargin{10};

// DISPLAY holds a name for the life of the object, and what it held before
// afterwards.
class DisplayVariable {
 public:
  explicit DisplayVariable(const std::string& name) {
    if (const char* held = std::getenv("DISPLAY")) held_ = held;
    ::setenv("DISPLAY", name.c_str(), 1);
  }
  DisplayVariable(const DisplayVariable&) = delete;
  DisplayVariable& operator=(const DisplayVariable&) = delete;
  ~DisplayVariable() {
    if (held_) {
      ::setenv("DISPLAY", held_->c_str(), 1);
    } else {
      ::unsetenv("DISPLAY");
    }
  }

 private:
  std::optional<std::string> held_;
};

// A window program in dir that is the given shell script (which finds the
// package's socket as descriptor 3); none at all when the script is null.
void install_window_program(const TempDir& dir, const char* script) {
  if (script == nullptr) return;
  const std::filesystem::path program = dir / kWindowProgramName;
  std::ofstream(program) << "#!/bin/sh\n" << script << "\n";
  std::filesystem::permissions(program, std::filesystem::perms::owner_all);
}

// Every process the test started has ended and been let go.
bool no_child_left() { return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD; }

TEST(FrontEnd, WindowProgramThatIsNotReadyInTimeLeavesTheConsoleAndNoProcess) {
  const struct {
    const char* what;
    const char* script;
  } kCases[] = {
      {"never answers", "exec sleep 1000"},
      {"ends at once", "exit 0"},
      {"is missing", nullptr},
      {"answers with another byte", "printf X >&3; exec sleep 1000"},
      {"closes its end and stays", "exec 3>&-; exec sleep 1000"},
  };
  const DisplayVariable display(":4711");
  for (const auto& program : kCases) {
    SCOPED_TRACE(program.what);
    TempDir dir;
    install_window_program(dir, program.script);
    const auto start = steady_clock::now();
    const FrontEnd front_end = open_front_end(dir.path(), kShortWait);
    EXPECT_LT(steady_clock::now() - start, kShortWait + kMargin);
    EXPECT_EQ(front_end.window, -1);
    EXPECT_EQ(front_end.window_program, -1);
    EXPECT_TRUE(no_child_left());
  }
}

// A window that is slow to come, but within the wait, is still shown.
TEST(FrontEnd, WindowProgramReadyWithinTheWaitShowsTheWindow) {
  const DisplayVariable display(":4711");
  TempDir dir;
  install_window_program(dir, "sleep 0.5; printf R >&3; exec cat <&3 >/dev/null");
  const FrontEnd front_end = open_front_end(dir.path());
  EXPECT_NE(front_end.window, -1);
  close_front_end(front_end);
  EXPECT_TRUE(no_child_left());
}

TEST(FrontEnd, WindowProgramThatStaysOnceTheRunIsOverIsKilled) {
  const DisplayVariable display(":4711");
  TempDir dir;
  install_window_program(dir, "printf R >&3; exec sleep 1000");
  const FrontEnd front_end = open_front_end(dir.path(), kShortWait);
  ASSERT_NE(front_end.window, -1);
  const auto start = steady_clock::now();
  close_front_end(front_end, kShortWait);
  EXPECT_LT(steady_clock::now() - start, kShortWait + kMargin);
  EXPECT_TRUE(no_child_left());
}

// The error box waits for the user without limit, but a window program that
// dies meanwhile ends the wait: the message then goes to the console.
TEST(FrontEnd, ErrorBoxIsShownUnlessTheWindowProgramDies) {
  const struct {
    const char* what;
    const char* script;
    bool shown;
  } kCases[] = {
      {"the user closes the box", "printf R >&3; cat <&3 >/dev/null; printf C >&3", true},
      {"dies with the box up", "printf R >&3; cat <&3 >/dev/null; kill -KILL $$", false},
      {"dies before the message", "printf R >&3; kill -KILL $$", false},
  };
  const DisplayVariable display(":4711");
  for (const auto& program : kCases) {
    SCOPED_TRACE(program.what);
    TempDir dir;
    install_window_program(dir, program.script);
    const FrontEnd front_end = open_front_end(dir.path(), kShortWait);
    ASSERT_NE(front_end.window, -1);
    EXPECT_EQ(show_error_box(front_end, " Errore n. 7"), program.shown);
    EXPECT_TRUE(no_child_left());
  }
}

// Under a window manager that never maps the window, the window program
// gives up by itself once the window is late, well before the package, given
// a long wait, would have ended it.
TEST(FrontEnd, WindowProgramGivesUpOnAWindowThatIsNeverMapped) {
  ASSERT_EQ(std::system("command -v Xvfb >/dev/null 2>&1"), 0)
      << "Xvfb is missing: scripts/install-deps.sh installs it with the rest of the build's packages";
  const VirtualDisplay server;
  ASSERT_FALSE(server.name().empty()) << "Xvfb did not start";
  const WindowManagerThatMapsNothing window_manager(server.name());
  ASSERT_TRUE(window_manager.connected()) << server.name();
  const DisplayVariable display(server.name());
  const std::chrono::seconds long_wait = kWindowReadyWait + 2 * kMargin;
  const auto start = steady_clock::now();
  const FrontEnd front_end = open_front_end(std::filesystem::path(PACKAGE_WINDOW_PROGRAM).parent_path(), long_wait);
  EXPECT_LT(steady_clock::now() - start, kWindowReadyWait + kMargin);
  EXPECT_EQ(front_end.window, -1);
}

}  // namespace
}  // namespace scenario
