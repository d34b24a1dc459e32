#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace scenario {

// Tells when one of a directory's files is saved. It watches the directory
// rather than the files, so that an editor that writes a new file and
// renames it over the old one is seen like one that writes in place.
class SourceWatch {
 public:
  // Throws std::system_error when the directory cannot be watched.
  SourceWatch(const std::filesystem::path& dir, std::vector<std::string> names);
  ~SourceWatch();
  SourceWatch(const SourceWatch&) = delete;
  SourceWatch& operator=(const SourceWatch&) = delete;

  // Readable when events wait.
  int descriptor() const { return fd_; }

  // Reads the events that wait; true when one of them concerns a watched
  // name.
  bool saved();

 private:
  int fd_ = -1;
  std::vector<std::string> names_;
};

}  // namespace scenario
