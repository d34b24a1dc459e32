// `scenario view --watch`: the page is written again on every save of a
// source, and served on the loopback interface with the version the page
// asks for to know when to reload.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <string>
#include <thread>

#include "view/view_run.h"

namespace scenario::testing {
namespace {

constexpr std::chrono::seconds kWait{20};

// Waits for what until the deadline; false when it never came.
bool eventually(const std::function<bool()>& what) {
  const auto deadline = std::chrono::steady_clock::now() + kWait;
  while (std::chrono::steady_clock::now() < deadline) {
    if (what()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

// GET path from the server, the whole reply, head and body.
std::string get(uint16_t port, const std::string& path) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  std::string reply;
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    const std::string request = "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    if (send(fd, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size())) {
      char buffer[4096];
      for (ssize_t got; (got = recv(fd, buffer, sizeof buffer, 0)) > 0;) reply.append(buffer, static_cast<size_t>(got));
    }
  }
  close(fd);
  return reply;
}

std::string body_of(const std::string& reply) {
  const size_t end = reply.find("\r\n\r\n");
  return end == std::string::npos ? std::string() : reply.substr(end + 4);
}

// The tool watching a directory, ended when the test ends.
class Watching {
 public:
  Watching(const TempDir& dir, const std::filesystem::path& err) {
    pid_ = fork();
    if (pid_ == 0) {
      std::freopen(err.c_str(), "w", stderr);
      execl(SCENARIO_PROGRAM, SCENARIO_PROGRAM, "view", "--watch", "--dir", dir.path().c_str(), "Valle", "12",
            static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~Watching() {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  Watching(const Watching&) = delete;
  Watching& operator=(const Watching&) = delete;

 private:
  pid_t pid_ = -1;
};

TEST(LivePage, ASavedSourceMakesTheServedAndWrittenPageAnew) {
  TempDir dir;
  ASSERT_EQ(scenario({"new", "--dir", dir.path().string(), "Valle", "12"}).status, 0);
  const std::filesystem::path err = dir / "watch.err";
  const Watching watching(dir, err);
  uint16_t port = 0;
  ASSERT_TRUE(eventually([&] {
    std::smatch found;
    const std::string said = bytes_of(err).value_or("");
    if (!std::regex_search(said, found, std::regex("serving http://127\\.0\\.0\\.1:([0-9]+)/"))) return false;
    port = static_cast<uint16_t>(std::stoi(found[1]));
    return true;
  })) << bytes_of(err).value_or("");
  EXPECT_EQ(body_of(get(port, "/version")), "1");
  EXPECT_NE(get(port, "/nothing").find("404 Not Found"), std::string::npos);
  const std::string first = body_of(get(port, "/"));
  EXPECT_EQ(page_data_of(first)["version"], 1);
  EXPECT_EQ(first, bytes_of(dir / "Valle_12.html").value_or(""));

  // Saved as editors do: a new file renamed over the old one.
  const std::filesystem::path train = dir / "Valle_12-.txt";
  std::string text = bytes_of(train).value_or("");
  text.insert(text.rfind("[fine]"), "segnale, 2500, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0\r\n");
  {
    std::ofstream out(dir / "Valle_12-.txt.new", std::ios::binary);
    out << text;
  }
  std::filesystem::rename(dir / "Valle_12-.txt.new", train);

  EXPECT_TRUE(eventually([&] { return body_of(get(port, "/version")) == "2"; }));
  const std::string second = body_of(get(port, "/"));
  EXPECT_NE(second.find("segnale, 2500"), std::string::npos);
  EXPECT_EQ(second, bytes_of(dir / "Valle_12.html").value_or(""));
  // A file of the directory that is no source changes nothing.
  { std::ofstream(dir / "notes.txt") << "x"; }
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(body_of(get(port, "/version")), "2");
}

}  // namespace
}  // namespace scenario::testing
