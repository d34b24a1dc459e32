#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace scenario::testing {

// A headless Chromium driven through its DevTools protocol on a pair of
// pipes (--remote-debugging-pipe: it reads commands on descriptor 3 and
// writes answers on 4, each a JSON text ended by a NUL), so that a test can
// click as a user does. Every wait has a deadline.
class DevToolsBrowser {
 public:
  DevToolsBrowser(const std::string& chromium, const TempDir& profile) {
    int to_browser[2];
    int from_browser[2];
    if (pipe(to_browser) != 0 || pipe(from_browser) != 0) return;
    const std::vector<std::string> words = {chromium,
                                            "--headless",
                                            "--no-sandbox",
                                            "--disable-gpu",
                                            "--no-first-run",
                                            "--window-size=1200,800",
                                            "--remote-debugging-pipe",
                                            "--user-data-dir=" + (profile / "profile").string(),
                                            "about:blank"};
    const std::vector<std::string> environment = {"PATH=/usr/bin:/bin", "HOME=" + profile.path().string()};
    std::vector<char*> argv = exec_array(words);
    std::vector<char*> envp = exec_array(environment);
    pid_ = fork();
    if (pid_ == 0) {
      dup2(to_browser[0], 3);
      dup2(from_browser[1], 4);
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, 1);
      dup2(null, 2);
      for (int fd = 5; fd < 64; ++fd) close(fd);
      execve(chromium.c_str(), argv.data(), envp.data());
      _exit(127);
    }
    close(to_browser[0]);
    close(from_browser[1]);
    write_fd_ = to_browser[1];
    read_fd_ = from_browser[0];
  }

  ~DevToolsBrowser() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (write_fd_ >= 0) close(write_fd_);
    if (read_fd_ >= 0) close(read_fd_);
  }
  DevToolsBrowser(const DevToolsBrowser&) = delete;
  DevToolsBrowser& operator=(const DevToolsBrowser&) = delete;

  // Sends a command and waits for its answer's result; nothing on an error
  // or past the deadline.
  std::optional<nlohmann::json> call(const std::string& method, nlohmann::json params = nlohmann::json::object(),
                                     const std::string& session = "") {
    nlohmann::json command = {{"id", ++last_id_}, {"method", method}, {"params", std::move(params)}};
    if (!session.empty()) command["sessionId"] = session;
    const std::string text = command.dump() + '\0';
    if (write(write_fd_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) return std::nullopt;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
      const std::optional<nlohmann::json> message = next_message(deadline);
      if (!message) return std::nullopt;
      if (message->value("id", 0) != last_id_) continue;  // an event, or an older answer
      if (message->contains("error")) return std::nullopt;
      return (*message)["result"];
    }
    return std::nullopt;
  }

 private:
  std::optional<nlohmann::json> next_message(std::chrono::steady_clock::time_point deadline) {
    for (;;) {
      const size_t end = buffer_.find('\0');
      if (end != std::string::npos) {
        const std::string text = buffer_.substr(0, end);
        buffer_.erase(0, end + 1);
        return nlohmann::json::parse(text, nullptr, false);
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      pollfd wait{read_fd_, POLLIN, 0};
      if (left.count() <= 0 || poll(&wait, 1, static_cast<int>(left.count())) <= 0) return std::nullopt;
      char chunk[65536];
      const ssize_t got = read(read_fd_, chunk, sizeof chunk);
      if (got <= 0) return std::nullopt;
      buffer_.append(chunk, static_cast<size_t>(got));
    }
  }

  pid_t pid_ = -1;
  int write_fd_ = -1;
  int read_fd_ = -1;
  int last_id_ = 0;
  std::string buffer_;
};

}  // namespace scenario::testing
