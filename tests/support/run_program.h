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
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (const std::string& variable : environment) envp.push_back(const_cast<char*>(variable.c_str()));
  envp.push_back(nullptr);

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
