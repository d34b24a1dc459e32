#pragma once

#include <cstdint>
#include <string>

namespace scenario::view {

// A web server on the loopback interface for one page, so that the page can
// ask whether the sources changed: a page opened as a file may not read
// anything, not even itself. GET / gives the page, GET /version the number
// of the sources' version it shows; anything else is not found.
class PageServer {
 public:
  // Port 0 takes a free one. Throws std::system_error when it cannot listen.
  explicit PageServer(uint16_t port);
  ~PageServer();
  PageServer(const PageServer&) = delete;
  PageServer& operator=(const PageServer&) = delete;

  uint16_t port() const { return port_; }
  // Readable when a connection waits.
  int descriptor() const { return fd_; }

  // Takes one waiting connection, reads its request and answers it.
  void answer(const std::string& page, uint64_t version) const;

 private:
  int fd_ = -1;
  uint16_t port_ = 0;
};

}  // namespace scenario::view
