#pragma once

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "io/file_system.h"

namespace scenario::testing {

// One operation io/ asked of the file system: the how-manieth, which, on what.
struct FileCall {
  size_t number = 0;  // from 1
  FileOp op = FileOp::kOpen;
  std::filesystem::path path;
};

// A file system that does what its script says at each operation: 0 lets the
// operation run, an errno makes it fail with that errno. The script may also
// end the process there, as a crash would, or hold it there. Put in place for
// the object's life, and keeps every call for the test to look at.
class ScriptedFileSystem : public FileSystem {
 public:
  using Script = std::function<int(const FileCall&)>;
  explicit ScriptedFileSystem(Script script = [](const FileCall&) { return 0; })
      : script_(std::move(script)), scope_(*this) {}

  const std::vector<FileCall>& calls() const { return calls_; }

 protected:
  int before(FileOp op, const std::filesystem::path& path) override {
    calls_.push_back({calls_.size() + 1, op, path});
    return script_(calls_.back());
  }

 private:
  Script script_;
  std::vector<FileCall> calls_;
  ScopedFileSystem scope_;
};

// The exit status of a process that a script ended.
inline constexpr int kStoppedStatus = 77;

// Fails the n-th operation with error.
inline ScriptedFileSystem::Script fail_at(size_t n, int error) {
  return [n, error](const FileCall& call) { return call.number == n ? error : 0; };
}

// Ends the process just before the n-th operation, as a crash at that
// instant would: nothing of it runs, and no destructor either.
inline ScriptedFileSystem::Script stop_at(size_t n) {
  return [n](const FileCall& call) {
    if (call.number == n) ::_exit(kStoppedStatus);
    return 0;
  };
}

// Work done in a child process, its standard error going to /dev/null.
class ChildProcess {
 public:
  explicit ChildProcess(const std::function<int()>& work) : pid_(::fork()) {
    if (pid_ != 0) return;
    if (std::freopen("/dev/null", "w", stderr) == nullptr) ::_exit(126);
    ::_exit(work());
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess() {
    if (pid_ > 0) kill();
  }

  // Its exit status once it ends; nothing when a signal ended it.
  std::optional<int> wait() {
    int status = 0;
    while (::waitpid(pid_, &status, 0) == -1 && errno == EINTR) {
    }
    pid_ = -1;
    if (!WIFEXITED(status)) return std::nullopt;
    return WEXITSTATUS(status);
  }

  // Ends it as a crash or a power cut would.
  void kill() {
    ::kill(pid_, SIGKILL);
    wait();
  }

 private:
  pid_t pid_;
};

// Runs work in a child process and returns its exit status.
inline std::optional<int> in_child(const std::function<int()>& work) { return ChildProcess(work).wait(); }

// Holds a child process at the first operation a test picks, until the test
// lets it go on (or kills it): a run caught between two renames.
class Hold {
 public:
  Hold() {
    if (::pipe(reached_) != 0 || ::pipe(go_on_) != 0) throw std::runtime_error("no pipe for a hold");
  }
  Hold(const Hold&) = delete;
  Hold& operator=(const Hold&) = delete;
  ~Hold() {
    for (const int fd : {reached_[0], reached_[1], go_on_[0], go_on_[1]}) ::close(fd);
  }

  // The child's script: holds at the first call where picked says so.
  ScriptedFileSystem::Script at(std::function<bool(const FileCall&)> picked) {
    return [this, picked, held = false](const FileCall& call) mutable {
      if (held || !picked(call)) return 0;
      held = true;
      char byte = 'h';
      if (::write(reached_[1], &byte, 1) != 1 || ::read(go_on_[0], &byte, 1) != 1) ::_exit(125);
      return 0;
    };
  }

  // Whether the child reached the hold within the time allowed.
  bool reached(std::chrono::milliseconds allowed = std::chrono::seconds(30)) {
    pollfd ready{reached_[0], POLLIN, 0};
    char byte = 0;
    return ::poll(&ready, 1, static_cast<int>(allowed.count())) == 1 && ::read(reached_[0], &byte, 1) == 1;
  }

  void release() {
    const char byte = 'g';
    if (::write(go_on_[1], &byte, 1) != 1) throw std::runtime_error("the held child is gone");
  }

 private:
  int reached_[2] = {-1, -1};
  int go_on_[2] = {-1, -1};
};

// The words with which a message names a failed operation, and the errno's
// own words after them.
inline bool names_failure(const std::string& message, FileOp op, int error) {
  static const std::vector<std::pair<FileOp, std::vector<std::string>>> kWords = {
      {FileOp::kOpen, {"cannot create a file beside", "cannot read", "cannot open the directory", "cannot make the lock file"}},
      {FileOp::kRead, {"cannot read"}},
      {FileOp::kWrite, {"cannot write"}},
      {FileOp::kFsync, {"cannot flush to disk"}},
      {FileOp::kClose, {"cannot write"}},
      {FileOp::kRename, {"cannot replace"}},
      {FileOp::kUnlink, {"cannot remove", "cannot delete"}},
      {FileOp::kFchmod, {"cannot set the permissions"}},
  };
  if (message.find(std::strerror(error)) == std::string::npos) return false;
  for (const auto& [named, words] : kWords) {
    if (named != op) continue;
    for (const std::string& word : words) {
      if (message.find(word) != std::string::npos) return true;
    }
  }
  return false;
}

}  // namespace scenario::testing
