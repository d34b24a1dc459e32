// --color: diagnostics coloured as gcc colours its own, on a terminal or when
// asked, and never in a file unless asked.

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tool/tool_run.h"

namespace scenario {
namespace {

using testing::line_with;
using testing::Outcome;
using testing::scenario_tool;
using testing::TempDir;
using testing::train_with;
using testing::write_sources;

// One error: a letter in a number.
const std::string kFaultyLine = line_with("montagna, 3000, 3x00, 1\r\n");

constexpr const char* kPlain =
    "S_linea.txt:4:17: error: expected a number, found \"3x00\" [E25]\n"
    "montagna, 3000, 3x00, 1\n"
    "                ^\n"
    "1 error\n";

constexpr const char* kColoured =
    "\x1b[01mS_linea.txt:4:17:\x1b[m \x1b[01;31merror:\x1b[m expected a number, found \"3x00\" "
    "[\x1b[01;31mE25\x1b[m]\n"
    "montagna, 3000, 3x00, 1\n"
    "                \x1b[01;32m^\x1b[m\n"
    "1 error\n";

constexpr int kWaitMilliseconds = 60000;

// Runs the tool in dir with stderr on a pseudo-terminal in raw mode (line
// ends as written), as an author's terminal, and returns what it wrote there.
std::string on_terminal(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
                        const TempDir& dir) {
  int terminal = -1;
  int side = -1;
  if (::openpty(&terminal, &side, nullptr, nullptr, nullptr) != 0) return "openpty failed";
  termios mode{};
  ::tcgetattr(side, &mode);
  ::cfmakeraw(&mode);
  ::tcsetattr(side, TCSANOW, &mode);
  std::vector<std::string> words{SCENARIO_PROGRAM};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv = testing::exec_array(words);
  std::vector<char*> envp = testing::exec_array(environment);
  const pid_t child = ::fork();
  if (child == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    if (::dup2(side, STDERR_FILENO) < 0 || ::dup2(null, STDOUT_FILENO) < 0 || ::chdir(dir.path().c_str()) != 0) {
      ::_exit(127);
    }
    ::execve(SCENARIO_PROGRAM, argv.data(), envp.data());
    ::_exit(127);
  }
  ::close(side);
  std::string text;
  char buffer[4096];
  for (pollfd ready{terminal, POLLIN, 0}; ::poll(&ready, 1, kWaitMilliseconds) > 0;) {
    const ssize_t got = ::read(terminal, buffer, sizeof buffer);
    if (got <= 0) break;  // EIO once the tool has ended and closed its side
    text.append(buffer, static_cast<size_t>(got));
  }
  ::close(terminal);
  int status = 0;
  ::waitpid(child, &status, 0);
  return text;
}

struct ColourCase {
  const char* what;
  std::vector<std::string> options;
  std::vector<std::string> environment;
  std::string expected;
};

TEST(Colour, InAFileOnlyWhenAsked) {
  TempDir dir;
  write_sources(dir, kFaultyLine, train_with(""));
  const ColourCase cases[] = {
      {"auto: a file is no terminal", {}, {"TERM=xterm"}, kPlain},
      {"always", {"--color=always"}, {}, kColoured},
      {"always, whatever NO_COLOR says", {"--color=always"}, {"NO_COLOR=1", "TERM=dumb"}, kColoured},
      {"never", {"--color", "never"}, {"TERM=xterm"}, kPlain},
  };
  for (const ColourCase& c : cases) {
    for (const char* command : {"check", "compile"}) {
      std::vector<std::string> arguments{command};
      arguments.insert(arguments.end(), c.options.begin(), c.options.end());
      arguments.insert(arguments.end(), {"S", "T"});
      const Outcome outcome = scenario_tool(arguments, dir.path(), c.environment);
      EXPECT_EQ(outcome.status, 1) << c.what << ", " << command;
      EXPECT_EQ(outcome.err, c.expected) << c.what << ", " << command;
    }
  }
}

TEST(Colour, OnATerminalAsGccDoes) {
  TempDir dir;
  write_sources(dir, kFaultyLine, train_with(""));
  const ColourCase cases[] = {
      {"auto", {}, {"TERM=xterm"}, kColoured},
      {"auto, NO_COLOR empty", {}, {"TERM=xterm", "NO_COLOR="}, kColoured},
      {"auto, NO_COLOR set", {}, {"TERM=xterm", "NO_COLOR=1"}, kPlain},
      {"auto, a dumb terminal", {}, {"TERM=dumb"}, kPlain},
      {"auto, no TERM", {}, {}, kPlain},
      {"never", {"--color=never"}, {"TERM=xterm"}, kPlain},
      {"always, NO_COLOR set", {"--color=always"}, {"TERM=xterm", "NO_COLOR=1"}, kColoured},
  };
  for (const ColourCase& c : cases) {
    std::vector<std::string> arguments{"check"};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    arguments.insert(arguments.end(), {"S", "T"});
    EXPECT_EQ(on_terminal(arguments, c.environment, dir), c.expected) << c.what;
  }
}

TEST(Colour, AnUnknownWhenIsABadCommandLine) {
  const Outcome outcome = scenario_tool({"check", "--color=sometimes", "S", "T"});
  EXPECT_EQ(outcome.status, 2);
  EXPECT_NE(outcome.err.find("--color"), std::string::npos) << outcome.err;
}

}  // namespace
}  // namespace scenario
