#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "io/intent_record.h"
#include "io/replace_file.h"
#include "io/run_lock.h"
#include "io/staged_files.h"
#include "support/scripted_file_system.h"
#include "support/temp_dir.h"

namespace scenario {
namespace {

using testing::bytes_of;
using testing::FileCall;
using testing::ScriptedFileSystem;
using testing::TempDir;

const std::vector<std::string> kNames = {"a", "b", "c"};

// The files of the set are the runs' own: a killed run's temporaries of them
// are swept.
bool set_file(std::string_view name) { return std::find(kNames.begin(), kNames.end(), name) != kNames.end(); }

// A directory that holds an old set of three files, and switches it to a new
// one as a run does, under the directory's lock.
class SetSwitch : public ::testing::Test {
 protected:
  SetSwitch() {
    for (const std::string& name : kNames) replace_file(dir / name, "old " + name);
  }

  void switch_to_new_set() {
    const RunLock lock(dir.path(), kRunLockWait, set_file);
    StagedFiles staged;
    for (const std::string& name : kNames) staged.stage(dir / name).append("new " + name);
    staged.publish();
  }

  // "old", "new", or "mixed" when the files come from both sets.
  std::string set_state() {
    std::set<std::string> ages;
    for (const std::string& name : kNames) {
      const std::string bytes = bytes_of(dir / name).value_or("missing");
      ages.insert(bytes == "old " + name ? "old" : bytes == "new " + name ? "new" : "damaged");
    }
    return ages.size() == 1 ? *ages.begin() : "mixed";
  }

  // The operations of one whole switch, as the file system sees them.
  std::vector<FileCall> calls_of_a_switch() {
    const TempDir elsewhere;
    std::vector<FileCall> calls;
    {
      ScriptedFileSystem files;
      switch_to_new_set();
      calls = files.calls();
    }
    for (const std::string& name : kNames) replace_file(dir / name, "old " + name);
    return calls;
  }

  TempDir dir;
};

TEST_F(SetSwitch, RecordIsOnDiskBeforeTheFirstRenameAndGoesAfterTheLast) {
  const std::vector<FileCall> calls = calls_of_a_switch();
  std::vector<std::string> renames;
  for (const FileCall& call : calls) {
    if (call.op == FileOp::kRename) renames.push_back(call.path.filename().string());
    if (call.op == FileOp::kUnlink && call.path.filename() == kIntentName) renames.push_back("record removed");
  }
  EXPECT_EQ(renames, (std::vector<std::string>{std::string(kIntentName), "a", "b", "c", "record removed"}));
  EXPECT_EQ(set_state(), "old");
}

// A crash just before each operation of a switch, in a child process: the
// next holder of the lock finds the whole old set or, once the record is on
// disk, completes the whole new one; no temporary, record or lock is left.
TEST_F(SetSwitch, CrashAtAnyInstantLeavesOneWholeSet) {
  const size_t count = calls_of_a_switch().size();
  std::set<std::string> seen;
  for (size_t n = 1; n <= count + 1; ++n) {
    SCOPED_TRACE("stopped before operation " + std::to_string(n));
    const std::optional<int> status = testing::in_child([this, n] {
      ScriptedFileSystem files(testing::stop_at(n));
      switch_to_new_set();
      return 0;
    });
    ASSERT_EQ(status, n <= count ? testing::kStoppedStatus : 0);
    { const RunLock next_run(dir.path(), kRunLockWait, set_file); }
    const std::string state = set_state();
    EXPECT_TRUE(state == "old" || state == "new") << state;
    EXPECT_EQ(testing::names_in(dir.path()), (std::set<std::string>{"a", "b", "c"}));
    seen.insert(state);
    for (const std::string& name : kNames) replace_file(dir / name, "old " + name);
  }
  EXPECT_EQ(seen, (std::set<std::string>{"old", "new"}));
}

// Each operation failing with each of the errors a disk gives: the message
// names the operation and the error; before the record is on disk the old
// set stays as it was, after it the next run completes the new one.
TEST_F(SetSwitch, FailureAtAnyOperationIsSaidAndLeavesOneWholeSet) {
  const std::vector<FileCall> calls = calls_of_a_switch();
  for (const int error : {EIO, ENOSPC, EACCES, EXDEV}) {
    for (const FileCall& call : calls) {
      SCOPED_TRACE(std::string(op_name(call.op)) + " " + call.path.string() + " failing with " + std::strerror(error));
      std::string message;
      try {
        ScriptedFileSystem files(testing::fail_at(call.number, error));
        switch_to_new_set();
      } catch (const std::exception& e) {
        message = e.what();
      }
      const std::string state = set_state();
      if (message.empty()) {
        // The few operations whose failure costs nothing: letting go of the
        // lock file, closing a directory after its flush.
        EXPECT_EQ(state, "new");
      } else {
        EXPECT_TRUE(testing::names_failure(message, call.op, error)) << message;
        const bool decided = message.find("puts them in place") != std::string::npos;
        EXPECT_EQ(switch_pending(dir.path()), decided) << message;
        if (!decided) {
          EXPECT_EQ(state, "old") << message;
        }
      }
      { const RunLock next_run(dir.path(), kRunLockWait, set_file); }
      EXPECT_EQ(set_state(), message.empty() || message.find("puts them in place") != std::string::npos ? "new" : "old");
      EXPECT_EQ(testing::names_in(dir.path()), (std::set<std::string>{"a", "b", "c"}));
      for (const std::string& name : kNames) replace_file(dir / name, "old " + name);
    }
  }
}

// A run held between its renames holds the directory: another run cannot
// take it, and a command that only reads says that the set is being switched
// rather than read a mix. Once the held run is killed, a reader finishes its
// switch.
TEST_F(SetSwitch, RunHeldBetweenItsRenamesHoldsTheDirectory) {
  testing::Hold hold;
  testing::ChildProcess run([this, &hold] {
    size_t renames = 0;
    ScriptedFileSystem files(hold.at([&renames](const FileCall& call) {
      return call.op == FileOp::kRename && ++renames == 3;  // the record and "a" are renamed
    }));
    switch_to_new_set();
    return 0;
  });
  ASSERT_TRUE(hold.reached());
  EXPECT_EQ(set_state(), "mixed");
  EXPECT_THROW(RunLock(dir.path(), std::chrono::milliseconds(0)), DirectoryBusy);
  try {
    settle_pending_switch(dir.path());
    ADD_FAILURE() << "a mixed set was let through";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("are being switched to new ones by another run"), std::string::npos)
        << e.what();
  }
  run.kill();
  EXPECT_EQ(set_state(), "mixed");
  settle_pending_switch(dir.path());
  EXPECT_EQ(set_state(), "new");
  EXPECT_EQ(testing::names_in(dir.path()), (std::set<std::string>{"a", "b", "c"}));
}

// A record renames only a writer's temporary over its own target, in its own
// directory: anything else in it is refused before any file is touched.
TEST(IntentRecord, NamesOnlyTemporariesOfTheirOwnTargets) {
  const std::vector<Renaming> renamings = {{".a.part-12-Ab3dEf", "a"}, {".b.c.part-7-zzzzzz", "b.c"}};
  const std::string record = encode_intent(renamings);
  const std::vector<Renaming> read = decode_intent(record);
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read[1].temporary, ".b.c.part-7-zzzzzz");
  EXPECT_EQ(read[1].target, "b.c");

  const std::vector<Renaming> kRefused[] = {
      {{"a", "b"}},                             // not a temporary
      {{".a.part-12-Ab3dEf", "b"}},             // a temporary of another file
      {{".a.part-12-Ab3dEf", "../a"}},          // out of the directory
      {{"../.a.part-12-Ab3dEf", "a"}},
      {{".a.part-12-Ab3dEf", ""}},
  };
  for (const std::vector<Renaming>& refused : kRefused) {
    EXPECT_THROW(decode_intent(encode_intent(refused)), std::runtime_error) << refused[0].temporary;
  }
  EXPECT_THROW(decode_intent("scenario intent 1\n.a.part-12-Ab3dEf"), std::runtime_error);  // cut short
  EXPECT_THROW(decode_intent("something else"), std::runtime_error);
}

}  // namespace
}  // namespace scenario
