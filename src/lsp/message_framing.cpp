#include "lsp/message_framing.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>

#include "model/windows1252.h"

namespace scenario::lsp {
namespace {

constexpr std::string_view kHeaderEnd = "\r\n\r\n";
constexpr std::string_view kLengthName = "content-length:";
constexpr size_t kChunk = 64 * 1024;

// The Content-Length of a header, or what is wrong with it.
struct Length {
  size_t bytes = 0;
  std::string trouble;
};

Length content_length(std::string_view header) {
  for (size_t start = 0; start < header.size();) {
    const size_t end = std::min(header.find("\r\n", start), header.size());
    const std::string line = ascii_lower(header.substr(start, end - start));
    start = end + 2;
    if (!line.starts_with(kLengthName)) continue;
    std::string_view value = std::string_view(line).substr(kLengthName.size());
    while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
    size_t bytes = 0;
    const auto [past, error] = std::from_chars(value.data(), value.data() + value.size(), bytes);
    if (error != std::errc() || past != value.data() + value.size()) {
      return {0, "the header's Content-Length is not a number of bytes"};
    }
    if (bytes > kLargestBody) return {0, "the header's Content-Length is larger than the server takes"};
    return {bytes, {}};
  }
  return {0, "the header has no Content-Length"};
}

}  // namespace

Frame FrameReader::take_buffered() {
  const size_t header_end = buffer_.find(kHeaderEnd);
  if (header_end == std::string::npos) return {};
  const Length length = content_length(std::string_view(buffer_).substr(0, header_end));
  const size_t body_start = header_end + kHeaderEnd.size();
  if (!length.trouble.empty()) {
    buffer_.erase(0, body_start);
    return {Frame::Kind::kBadFrame, length.trouble};
  }
  if (buffer_.size() - body_start < length.bytes) return {};
  Frame frame{Frame::Kind::kMessage, buffer_.substr(body_start, length.bytes)};
  buffer_.erase(0, body_start + length.bytes);
  return frame;
}

Frame FrameReader::next(std::chrono::milliseconds quiet_for) {
  const auto deadline = std::chrono::steady_clock::now() + quiet_for;
  for (;;) {
    Frame frame = take_buffered();
    if (frame.kind != Frame::Kind::kQuiet) return frame;
    if (ended_) return {Frame::Kind::kEnd, {}};
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return {};
    pollfd ready{fd_, POLLIN, 0};
    const int polled = ::poll(&ready, 1, static_cast<int>(left.count()));
    if (polled < 0 && errno == EINTR) continue;
    if (polled == 0) return {};
    char chunk[kChunk];
    const ssize_t got = ::read(fd_, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      ended_ = true;
      continue;
    }
    buffer_.append(chunk, static_cast<size_t>(got));
  }
}

std::string framed(std::string_view body) {
  return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + std::string(body);
}

bool write_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

}  // namespace scenario::lsp
