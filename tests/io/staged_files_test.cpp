#include "io/staged_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "io/replace_file.h"
#include "io/temporaries.h"
#include "support/scripted_file_system.h"
#include "support/temp_dir.h"

namespace scenario {
namespace {

using testing::bytes_of;
using testing::TempDir;

ino_t inode_of(const std::filesystem::path& path) {
  struct stat status {};
  ::stat(path.c_str(), &status);
  return status.st_ino;
}

// Three targets that an earlier set left, each with its own content.
class StagedSet : public ::testing::Test {
 protected:
  StagedSet() {
    for (const char* name : {"a", "b", "c"}) {
      targets.push_back(dir / name);
      replace_file(targets.back(), std::string("old ") + name);
      old_inodes.push_back(inode_of(targets.back()));
    }
  }

  void expect_old_set_untouched() {
    for (size_t i = 0; i < targets.size(); ++i) {
      EXPECT_EQ(bytes_of(targets[i]), "old " + targets[i].filename().string());
      EXPECT_EQ(inode_of(targets[i]), old_inodes[i]) << targets[i];
    }
  }

  TempDir dir;
  std::vector<std::filesystem::path> targets;
  std::vector<ino_t> old_inodes;
};

TEST_F(StagedSet, NothingIsReplacedBeforePublishThenEveryFileIs) {
  StagedFiles staged;
  for (const auto& target : targets) staged.stage(target).append("new " + target.filename().string());
  expect_old_set_untouched();
  EXPECT_EQ(testing::names_in(dir.path()).size(), 6u);  // three temporaries beside the targets

  staged.publish();
  for (const auto& target : targets) EXPECT_EQ(bytes_of(target), "new " + target.filename().string());
  EXPECT_EQ(testing::names_in(dir.path()), (std::set<std::string>{"a", "b", "c"}));
}

TEST_F(StagedSet, AppendsFollowOneAnother) {
  StagedFiles staged;
  StagedFile& file = staged.stage(targets[0]);
  for (const char* piece : {"one ", "two ", "three"}) file.append(piece);
  staged.publish();
  EXPECT_EQ(bytes_of(targets[0]), "one two three");
}

TEST_F(StagedSet, SetThatIsNotPublishedLeavesTheOldSetAndNoTemporary) {
  {
    StagedFiles staged;
    for (const auto& target : targets) staged.stage(target).append("new");
  }
  expect_old_set_untouched();
  EXPECT_EQ(testing::names_in(dir.path()), (std::set<std::string>{"a", "b", "c"}));
}

// A directory where the last file goes: found before the first rename, and
// the set given up removes its temporaries.
TEST_F(StagedSet, DirectoryInTheLastPlaceReplacesNothing) {
  std::filesystem::remove(targets[2]);
  std::filesystem::create_directory(targets[2]);
  try {
    StagedFiles staged;
    for (const auto& target : targets) staged.stage(target).append("new");
    staged.publish();
    ADD_FAILURE() << "a directory was replaced";
  } catch (const std::system_error& error) {
    EXPECT_EQ(error.code(), std::errc::is_a_directory);
    EXPECT_NE(std::string(error.what()).find(targets[2].string()), std::string::npos) << error.what();
  }
  targets.pop_back();
  old_inodes.pop_back();
  expect_old_set_untouched();
  EXPECT_EQ(testing::names_in(dir.path()), (std::set<std::string>{"a", "b", "c"}));
}

// A directory that may be written and searched but not read cannot be
// opened to put its new names on disk: found before the first rename, so
// that the run fails without changing anything, whatever the set's size.
TEST_F(StagedSet, DirectoryThatCannotBeOpenedReplacesNothing) {
  for (const size_t size : {size_t{1}, targets.size()}) {
    SCOPED_TRACE(std::to_string(size) + " files");
    std::string message;
    try {
      testing::ScriptedFileSystem files([this](const testing::FileCall& call) {
        return call.op == FileOp::kOpen && call.path == dir.path() ? EACCES : 0;
      });
      StagedFiles staged;
      for (size_t i = 0; i < size; ++i) staged.stage(targets[i]).append("new");
      staged.publish();
    } catch (const std::system_error& error) {
      message = error.what();
    }
    EXPECT_EQ(message, "cannot open the directory " + dir.path().string() + ": Permission denied");
    expect_old_set_untouched();
    EXPECT_EQ(testing::names_in(dir.path()), (std::set<std::string>{"a", "b", "c"}));
  }
}

// A directory renamed away between two renames: the message names it and
// what became of it, not the file that could not be put in it.
TEST_F(StagedSet, DirectoryGoneDuringTheRenamesIsNamed) {
  const std::filesystem::path moved = dir.path().string() + "-moved";
  std::string message;
  try {
    testing::ScriptedFileSystem files([&](const testing::FileCall& call) {
      if (call.op == FileOp::kRename && call.path.filename() == "b") std::filesystem::rename(dir.path(), moved);
      return 0;
    });
    StagedFiles staged;
    for (const auto& target : targets) staged.stage(target).append("new");
    staged.publish();
  } catch (const std::exception& error) {
    message = error.what();
  }
  std::filesystem::rename(moved, dir.path());
  EXPECT_TRUE(message.starts_with("cannot replace b in the directory " + dir.path().string() +
                                  ": it was removed or renamed during the run"))
      << message;
}

TEST(StagedFile, TemporaryCarriesTheWriterAndIsReadableAsAnyFile) {
  TempDir dir;
  StagedFiles staged;
  staged.stage(dir / "f.dat");
  const std::filesystem::directory_entry temporary = *std::filesystem::directory_iterator(dir.path());
  EXPECT_EQ(temporary_writer(temporary.path().filename().string()), ::getpid());
  staged.publish();
  const mode_t mask = ::umask(0);
  ::umask(mask);
  EXPECT_EQ(static_cast<mode_t>(std::filesystem::status(dir / "f.dat").permissions()), 0666 & ~mask);
}

}  // namespace
}  // namespace scenario
