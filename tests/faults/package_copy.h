#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "faults/scenario_snapshot.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace scenario::testing {

inline constexpr char kProgramName[] = "dorvallo_brisente";

// The runs below have no display: the package runs on the console.
inline const std::vector<std::string> kConsoleEnvironment = {"PATH=/usr/bin:/bin"};

// A copy of the package in a directory of its own, which is where it writes.
class PackageCopy {
 public:
  PackageCopy() { std::filesystem::copy_file(PACKAGE_PROGRAM, program()); }

  const std::filesystem::path& dir() const { return dir_.path(); }
  std::filesystem::path program() const { return dir_ / kProgramName; }
  RunFiles files() const { return builtin_files(dir_.path()); }

  // Runs the copy, behind a command that imposes a fault (none when empty);
  // what it says on stderr is kept in err.
  std::optional<int> run(const std::vector<std::string>& fault_command = {}) {
    std::vector<std::string> arguments = fault_command;
    arguments.push_back(program().string());
    const std::string command = arguments.front();
    arguments.erase(arguments.begin());
    const std::optional<int> status =
        run_program(command, arguments, kConsoleEnvironment, std::chrono::seconds(60), "", output_ / "err");
    err = bytes_of(output_ / "err").value_or("");
    return status;
  }

  std::string err;

 private:
  TempDir dir_;
  TempDir output_;
};

// The six files of a clean run, the same in every directory.
inline const Snapshot& complete_files() {
  static const Snapshot files = [] {
    PackageCopy package;
    package.run();
    return snapshot(files_left(package.files()));
  }();
  return files;
}

// What a directory holds after a complete package run: the program and its
// six files, nothing else.
inline std::set<std::string> complete_directory() {
  std::set<std::string> names{kProgramName};
  for (const auto& [name, bytes] : complete_files()) names.insert(name);
  return names;
}

// A program started without waiting for it, on the console, its stderr kept
// in a file. Killed at the end when nobody waited for it.
class BackgroundRun {
 public:
  BackgroundRun(const std::string& program, const std::vector<std::string>& arguments,
                const std::filesystem::path& err_file) {
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv = exec_array(words);
    std::vector<char*> envp = exec_array(kConsoleEnvironment);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
    ::posix_spawn_file_actions_destroy(&actions);
  }
  BackgroundRun(const BackgroundRun&) = delete;
  BackgroundRun& operator=(const BackgroundRun&) = delete;
  ~BackgroundRun() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      wait();
    }
  }

  pid_t pid() const { return pid_; }

  // The exit status, or 128 + the signal that ended it.
  int wait() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

 private:
  pid_t pid_ = -1;
};

}  // namespace scenario::testing
