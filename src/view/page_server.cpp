#include "view/page_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>
#include <system_error>

namespace scenario::view {
namespace {

// A request is a line and a few headers; a browser sends them at once.
constexpr size_t kLongestRequest = 16 * 1024;
constexpr int kRequestWaitMs = 2000;
constexpr int kBacklog = 16;

[[noreturn]] void fail(std::string_view what) {
  throw std::system_error(errno, std::generic_category(), std::string(what));
}

// The request's head, up to its empty line, or what came before the client
// went quiet.
std::string read_request(int client) {
  std::string request;
  char buffer[1024];
  while (request.size() < kLongestRequest && request.find("\r\n\r\n") == std::string::npos) {
    pollfd wait{client, POLLIN, 0};
    if (poll(&wait, 1, kRequestWaitMs) <= 0) break;
    const ssize_t got = recv(client, buffer, sizeof buffer, 0);
    if (got <= 0) break;
    request.append(buffer, static_cast<size_t>(got));
  }
  return request;
}

// "GET /version HTTP/1.1" gives "/version", without a query.
std::string path_of(const std::string& request) {
  if (!request.starts_with("GET ")) return {};
  const size_t start = 4;
  const size_t end = request.find_first_of(" ?\r\n", start);
  return request.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

void send_all(int client, const std::string& bytes) {
  for (size_t sent = 0; sent < bytes.size();) {
    const ssize_t put = send(client, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (put <= 0) return;  // the browser went away; it will ask again
    sent += static_cast<size_t>(put);
  }
}

std::string reply(std::string_view status, std::string_view type, const std::string& body) {
  return "HTTP/1.1 " + std::string(status) + "\r\nContent-Type: " + std::string(type) +
         "\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n" + body;
}

}  // namespace

PageServer::PageServer(uint16_t port) : fd_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
  if (fd_ < 0) fail("cannot open a socket");
  const int yes = 1;
  setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  socklen_t size = sizeof address;
  if (bind(fd_, reinterpret_cast<sockaddr*>(&address), size) != 0 || listen(fd_, kBacklog) != 0 ||
      getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    const int error = errno;
    close(fd_);
    errno = error;
    fail("cannot listen on 127.0.0.1 port " + std::to_string(port));
  }
  port_ = ntohs(address.sin_port);
}

PageServer::~PageServer() { close(fd_); }

void PageServer::answer(const std::string& page, uint64_t version) const {
  const int client = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
  if (client < 0) return;
  const std::string path = path_of(read_request(client));
  if (path == "/" || path == "/index.html") {
    send_all(client, reply("200 OK", "text/html; charset=utf-8", page));
  } else if (path == "/version") {
    send_all(client, reply("200 OK", "text/plain", std::to_string(version)));
  } else {
    send_all(client, reply("404 Not Found", "text/plain", "not found\n"));
  }
  close(client);
}

}  // namespace scenario::view
