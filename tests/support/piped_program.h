#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "support/run_program.h"

namespace scenario::testing {

// A program run with pipes on its standard input, output and error, which a
// test talks to; every wait has a deadline. Killed if still running at the end.
class PipedProgram {
 public:
  PipedProgram(const std::string& program, const std::vector<std::string>& arguments,
               const std::string& working_dir = "") {
    int in[2], out[2], err[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) {
      throw std::runtime_error("no pipes for a program");
    }
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv = exec_array(words);
    std::vector<char*> envp = exec_array({"PATH=/usr/bin:/bin"});
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(in[0], STDIN_FILENO);
      ::dup2(out[1], STDOUT_FILENO);
      ::dup2(err[1], STDERR_FILENO);
      if (!working_dir.empty() && ::chdir(working_dir.c_str()) != 0) ::_exit(127);
      ::execve(program.c_str(), argv.data(), envp.data());
      ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    in_ = in[1];
    out_ = out[0];
    err_ = err[0];
  }
  PipedProgram(const PipedProgram&) = delete;
  PipedProgram& operator=(const PipedProgram&) = delete;
  ~PipedProgram() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    for (const int fd : {in_, out_, err_}) {
      if (fd >= 0) ::close(fd);
    }
  }

  void write(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t written = ::write(in_, bytes.data(), bytes.size());
      if (written <= 0) throw std::runtime_error("the program's input is closed");
      bytes.remove_prefix(static_cast<size_t>(written));
    }
  }

  void close_input() {
    ::close(in_);
    in_ = -1;
  }

  // Reads what the program writes on its output (or error) until done says
  // the bytes so far are enough; false when the deadline passed first or
  // the stream ended.
  template <typename Done>
  bool read_output_until(std::string& bytes, Done&& done, std::chrono::milliseconds allowed) {
    return read_until(out_, bytes, done, allowed);
  }
  template <typename Done>
  bool read_error_until(std::string& bytes, Done&& done, std::chrono::milliseconds allowed) {
    return read_until(err_, bytes, done, allowed);
  }

  void signal(int number) { ::kill(pid_, number); }

  // Its exit status once it ends within the time allowed; nothing when it
  // did not end (it is then killed) or a signal ended it.
  std::optional<int> wait(std::chrono::milliseconds allowed) {
    const auto deadline = std::chrono::steady_clock::now() + allowed;
    int status = 0;
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    pid_ = -1;
    if (!WIFEXITED(status)) return std::nullopt;
    return WEXITSTATUS(status);
  }

 private:
  template <typename Done>
  static bool read_until(int fd, std::string& bytes, Done&& done, std::chrono::milliseconds allowed) {
    const auto deadline = std::chrono::steady_clock::now() + allowed;
    while (!done(bytes)) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      pollfd ready{fd, POLLIN, 0};
      if (left.count() <= 0 || ::poll(&ready, 1, static_cast<int>(left.count())) <= 0) return false;
      char chunk[4096];
      const ssize_t got = ::read(fd, chunk, sizeof chunk);
      if (got <= 0) return false;
      bytes.append(chunk, static_cast<size_t>(got));
    }
    return true;
  }

  pid_t pid_ = -1;
  int in_ = -1;
  int out_ = -1;
  int err_ = -1;
};

}  // namespace scenario::testing
