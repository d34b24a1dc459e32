#include "tool/standard_output.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>

#include "tool/diagnostic.h"

namespace scenario::tool {

StandardOutput::StandardOutput() : replaced_(std::cout.rdbuf(this)) {
  setp(buffer_.data(), buffer_.data() + buffer_.size());
}

StandardOutput::~StandardOutput() {
  drain();
  std::cout.rdbuf(replaced_);
}

// Writes what the buffer holds; false from the first failure on.
bool StandardOutput::drain() {
  const char* next = pbase();
  while (error_ == 0 && next < pptr()) {
    const ssize_t done = ::write(STDOUT_FILENO, next, static_cast<size_t>(pptr() - next));
    if (done < 0 && errno == EINTR) continue;
    if (done < 0) error_ = errno;
    if (done == 0) error_ = EIO;  // no progress and no reason: never met on a file, a pipe or a terminal
    if (done > 0) next += done;
  }
  setp(buffer_.data(), buffer_.data() + buffer_.size());
  return error_ == 0;
}

StandardOutput::int_type StandardOutput::overflow(int_type byte) {
  if (!drain()) return traits_type::eof();
  if (traits_type::eq_int_type(byte, traits_type::eof())) return traits_type::not_eof(byte);
  *pptr() = traits_type::to_char_type(byte);
  pbump(1);
  return byte;
}

int StandardOutput::sync() { return drain() ? 0 : -1; }

bool StandardOutput::written(std::string_view command) {
  // A standard output closed from the start (EBADF at the close) had
  // nothing written to it, or a write would have failed already.
  if (drain() && ::close(STDOUT_FILENO) != 0 && errno != EBADF && errno != EINTR) error_ = errno;
  if (error_ == 0) return true;
  std::cerr << command_message(command, "cannot write the output: " + std::string(std::strerror(error_)));
  return false;
}

}  // namespace scenario::tool
