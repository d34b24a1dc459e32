#pragma once

#include <array>
#include <streambuf>
#include <string_view>

namespace scenario::tool {

// Standard output under a buffer of its own, put in the place of std::cout's
// for the life of this object. Unlike the C library's, it keeps the reason of
// the first write that fails (a full disk, /dev/full), which a later flush
// would no longer give; after it every write fails, so the stream goes bad.
class StandardOutput : public std::streambuf {
 public:
  StandardOutput();
  StandardOutput(const StandardOutput&) = delete;
  StandardOutput& operator=(const StandardOutput&) = delete;
  ~StandardOutput() override;

  // Whether everything written reached standard output: the last bytes are
  // written and the descriptor closed (a file system may report a failed
  // write only then). When not, says why on stderr with the system's reason,
  // "scenario inspect: cannot write the output: No space left on device".
  // Called once, as the command ends.
  bool written(std::string_view command);

 protected:
  int_type overflow(int_type byte) override;
  int sync() override;

 private:
  bool drain();

  static constexpr size_t kBufferSize = 64 * 1024;
  // Not filled in advance: a command that writes little touches no more of
  // it than it writes, and each page first touched costs a fault.
  std::array<char, kBufferSize> buffer_;
  std::streambuf* replaced_;
  int error_ = 0;
};

}  // namespace scenario::tool
