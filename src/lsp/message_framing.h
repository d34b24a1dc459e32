#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

// The framing of the language server protocol over a byte stream: a header
// of "Name: value" lines ended by CR LF, a blank line, then a body of
// exactly Content-Length bytes.

namespace scenario::lsp {

// A body larger than this is refused as a bad frame: no editor sends one,
// and waiting for it would hold the server.
inline constexpr size_t kLargestBody = 64 * 1024 * 1024;

struct Frame {
  enum class Kind { kMessage, kQuiet, kEnd, kBadFrame };
  Kind kind = Kind::kQuiet;
  std::string body;  // the message's body, or what was wrong with the frame
};

// Reads frames from a file descriptor, never waiting past a deadline.
class FrameReader {
 public:
  explicit FrameReader(int fd) : fd_(fd) {}

  // The next frame; kQuiet when none was whole within quiet_for, kEnd once
  // the stream has ended. A bad header is dropped up to its blank line.
  Frame next(std::chrono::milliseconds quiet_for);

 private:
  // A frame already whole in the buffer, else kQuiet.
  Frame take_buffered();

  int fd_;
  std::string buffer_;
  bool ended_ = false;
};

// The frame of body: its header, then the body.
std::string framed(std::string_view body);

// Writes all of bytes to fd; false when the stream is gone.
bool write_all(int fd, std::string_view bytes);

}  // namespace scenario::lsp
