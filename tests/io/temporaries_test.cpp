#include "io/temporaries.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <string_view>

#include "io/replace_file.h"
#include "support/temp_dir.h"

namespace scenario {
namespace {

using testing::TempDir;

TEST(Temporaries, WriterIsReadFromTheNameOfATemporaryOnly) {
  const struct {
    const char* name;
    std::optional<pid_t> writer;
  } cases[] = {
      {".S_1.dat.part-4242-a1B2c3", 4242},
      {".S_linea.dat.part-7-XXXXXX", 7},
      {"S_1.dat.part-4242-a1B2c3", std::nullopt},   // not hidden
      {".S_1.dat.part--4242-a1B2c3", std::nullopt},  // no process
      {".S_1.dat.part-0-a1B2c3", std::nullopt},
      {".S_1.dat.part-42x-a1B2c3", std::nullopt},
      {".S_1.dat.part-4242-a1B2", std::nullopt},     // the unique part cut short
      {".S_1.dat.part-a1B2c3", std::nullopt},
      {".part-4242-a1B2c3", std::nullopt},           // no target
      {".scenario.lock", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(temporary_writer(c.name), c.writer) << c.name;
}

TEST(Temporaries, PatternNamesThisProcessBesideTheTarget) {
  std::string pattern = temporary_pattern("dir/S_1.sim");
  EXPECT_EQ(std::filesystem::path(pattern).parent_path(), "dir");
  EXPECT_EQ(temporary_writer(std::filesystem::path(pattern).filename().string()), ::getpid());
}

// A process that has ended, reaped: its id names no process for now.
pid_t ended_process() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

// The files of a run in these tests: S_1.dat, S_1.sim and the like.
bool own_name(std::string_view name) { return name.starts_with("S_"); }

TEST(Temporaries, OnlyThoseOfEndedWritersAreRemoved) {
  TempDir dir;
  const std::string dead = ".S_1.dat.part-" + std::to_string(ended_process()) + "-abcdef";
  const std::string alive = ".S_1.sim.part-" + std::to_string(::getpid()) + "-abcdef";
  for (const std::string& name : {dead, alive, std::string("S_1.dat"), std::string(".hidden")}) {
    replace_file(dir / name, "x");
  }
  std::filesystem::create_directory(dir / (".S_d.part-" + std::to_string(ended_process()) + "-abcdef"));

  remove_dead_temporaries(dir.path(), own_name);
  EXPECT_FALSE(std::filesystem::exists(dir / dead));
  EXPECT_TRUE(std::filesystem::exists(dir / alive));
  EXPECT_TRUE(std::filesystem::exists(dir / "S_1.dat"));
  EXPECT_TRUE(std::filesystem::exists(dir / ".hidden"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 4);  // the directory stays too
}

// A user's file that looks like a temporary of a dead writer is no file of
// ours: only the temporaries of own names, and of the intent record, go.
TEST(Temporaries, UsersFilesShapedLikeTemporariesStay) {
  TempDir dir;
  const std::string pid = std::to_string(ended_process());
  const struct {
    std::string name;
    bool removed;
  } cases[] = {
      {".thesis.tex.part-" + pid + "-draft1", false},
      {".notes.part-" + pid + "-backup", false},
      {".S_1.dat.part-" + pid + "-a1B2c3", true},
      {"..scenario.intent.part-" + pid + "-a1B2c3", true},
  };
  for (const auto& c : cases) replace_file(dir / c.name, "x");
  remove_dead_temporaries(dir.path(), own_name);
  for (const auto& c : cases) EXPECT_EQ(std::filesystem::exists(dir / c.name), !c.removed) << c.name;
}

TEST(Temporaries, TargetIsReadFromTheNameOfATemporaryOnly) {
  EXPECT_EQ(temporary_target(".S_1.dat.part-4242-a1B2c3"), "S_1.dat");
  EXPECT_EQ(temporary_target(".a.part-b.part-7-XXXXXX"), "a.part-b");
  EXPECT_EQ(temporary_target("S_1.dat"), std::nullopt);
}

}  // namespace
}  // namespace scenario
