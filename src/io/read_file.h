#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace scenario {

// The most bytes a file may have to be read, and what it is, for the message
// ("the largest line geometry file").
struct SizeCap {
  std::uintmax_t bytes;
  std::string_view of;
};

// A file's bytes in memory of their own, which is never zero-filled before
// the read fills it: a source near its cap is megabytes. A large file goes
// into huge pages (memory/large_buffer.h).
class FileBytes {
 public:
  FileBytes() = default;
  std::string_view view() const { return {data_.get(), size_}; }
  operator std::string_view() const { return view(); }  // NOLINT(google-explicit-constructor)
  std::string str() const { return std::string(view()); }

 private:
  friend FileBytes read_file(const std::filesystem::path& path, SizeCap cap);
  struct Free {
    size_t capacity;  // what allocate_buffer was asked for
    void operator()(char* bytes) const;
  };
  // The bytes are left as they are: the read writes each one.
  explicit FileBytes(size_t capacity);
  std::unique_ptr<char[], Free> data_;
  size_t size_ = 0;
};

// The whole content of a regular file no larger than its cap. A FIFO, a
// device or a directory is refused at once, without waiting for a writer or
// reading without end. Throws std::system_error naming the file and the
// reason (io/file_error.h).
FileBytes read_file(const std::filesystem::path& path, SizeCap cap);

// Whether nothing at all is found at path: the one case a reader calls "does
// not exist". A path that cannot be looked at (a loop of links, no
// permission) is not missing; reading it gives the reason.
bool file_missing(const std::filesystem::path& path);

}  // namespace scenario
