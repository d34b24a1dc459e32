#include "io/source_watch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <system_error>

namespace scenario {
namespace {

// A file is saved when it is closed after writing or renamed into place.
constexpr uint32_t kSaveEvents = IN_CLOSE_WRITE | IN_MOVED_TO;
constexpr size_t kEventBuffer = 16 * 1024;

}  // namespace

SourceWatch::SourceWatch(const std::filesystem::path& dir, std::vector<std::string> names)
    : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)), names_(std::move(names)) {
  if (fd_ < 0) throw std::system_error(errno, std::generic_category(), "cannot watch " + dir.string());
  if (inotify_add_watch(fd_, dir.c_str(), kSaveEvents) < 0) {
    const int error = errno;
    close(fd_);
    throw std::system_error(error, std::generic_category(), "cannot watch " + dir.string());
  }
}

SourceWatch::~SourceWatch() { close(fd_); }

bool SourceWatch::saved() {
  alignas(inotify_event) std::array<char, kEventBuffer> buffer{};
  bool concerned = false;
  for (;;) {
    const ssize_t got = read(fd_, buffer.data(), buffer.size());
    if (got <= 0) return concerned;
    for (ssize_t at = 0; at < got;) {
      inotify_event event{};
      std::memcpy(&event, buffer.data() + at, sizeof event);
      const char* name = buffer.data() + at + static_cast<ssize_t>(sizeof event);
      if (event.len > 0 && std::find(names_.begin(), names_.end(), std::string(name)) != names_.end()) {
        concerned = true;
      }
      at += static_cast<ssize_t>(sizeof event + event.len);
    }
  }
}

}  // namespace scenario
