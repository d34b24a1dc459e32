#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace scenario::testing {

// The null-terminated array of pointers that exec takes, into strings that
// outlive it.
inline std::vector<char*> exec_array(const std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (const std::string& text : strings) pointers.push_back(const_cast<char*>(text.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

// Runs a program with the given environment and waits for it to end by
// itself. Returns its exit status, or nothing when it had to be killed
// because it did not end within the time allowed.
// Standard output and error go to the given files when these are named; the
// program runs in working_dir when one is named.
inline std::optional<int> run_program(const std::string& program, const std::vector<std::string>& arguments,
                                      const std::vector<std::string>& environment,
                                      std::chrono::seconds allowed = std::chrono::seconds(60),
                                      const std::string& out_file = "", const std::string& err_file = "",
                                      const std::string& working_dir = "") {
  std::vector<std::string> words{program};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv = exec_array(words);
  std::vector<char*> envp = exec_array(environment);

  const pid_t child = ::fork();
  if (child == 0) {
    if (!out_file.empty()) std::freopen(out_file.c_str(), "w", stdout);
    if (!err_file.empty()) std::freopen(err_file.c_str(), "w", stderr);
    if (!working_dir.empty() && ::chdir(working_dir.c_str()) != 0) ::_exit(127);
    ::execve(program.c_str(), argv.data(), envp.data());
    ::_exit(127);
  }
  const auto deadline = std::chrono::steady_clock::now() + allowed;
  int status = 0;
  while (::waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
      return std::nullopt;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace scenario::testing
