// `scenario check --watch` on the real program: a check at the start, one
// after each save of a source (in place or by rename), and Ctrl-C ends it
// with status 0.

#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "support/piped_program.h"
#include "tool/check_watch.h"
#include "tool/tool_run.h"

namespace scenario::testing {
namespace {

constexpr std::chrono::milliseconds kDeadline{10000};

// How many times text holds what.
size_t count_of(const std::string& text, std::string_view what) {
  size_t count = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

TEST(CheckWatch, EachSaveIsCheckedBetweenABeginAndAnEndLineUntilInterrupted) {
  TempDir dir;
  write_sources(dir, line_with(""), train_with("velocita, 0, 100\r\n"));
  PipedProgram watch(SCENARIO_PROGRAM, {"check", "--watch", "--dir", dir.path().string(), "S", "T"});
  std::string err;
  const auto checks_ended = [&err](size_t n) {
    return [&err, n](const std::string&) { return count_of(err, tool::kWatchEnds) >= n; };
  };
  ASSERT_TRUE(watch.read_error_until(err, checks_ended(1), kDeadline)) << err;
  EXPECT_EQ(count_of(err, tool::kWatchBegins), 1u) << err;
  EXPECT_NE(err.find(std::string(tool::kWatchEnds) + "0"), std::string::npos) << err;

  // Saved in place: a mistake.
  replace_file(dir / "S_T-.txt", train_with("velocita, 0, -100\r\n"));
  ASSERT_TRUE(watch.read_error_until(err, checks_ended(2), kDeadline)) << err;
  EXPECT_NE(err.find("[E25]"), std::string::npos) << err;
  EXPECT_NE(err.find(std::string(tool::kWatchEnds) + "1"), std::string::npos) << err;

  // Saved by rename, as many editors do: mended.
  replace_file(dir / "S_linea.tmp", line_with("pendenza, 1000, 5\r\n"));
  std::filesystem::rename(dir / "S_linea.tmp", dir / "S_linea.txt");
  ASSERT_TRUE(watch.read_error_until(err, checks_ended(3), kDeadline)) << err;
  EXPECT_EQ(count_of(err, tool::kWatchBegins), 3u) << err;

  watch.signal(SIGINT);
  EXPECT_EQ(watch.wait(kDeadline), 0);
}

}  // namespace
}  // namespace scenario::testing
