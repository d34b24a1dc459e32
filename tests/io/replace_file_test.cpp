#include "io/replace_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include <system_error>

#include "support/temp_dir.h"

namespace scenario {
namespace {

using testing::bytes_of;
using testing::TempDir;

TEST(ReplaceFile, OlderLongerFileIsReplacedWhole) {
  TempDir dir;
  replace_file(dir / "f.txt", "a much longer older content");
  replace_file(dir / "f.txt", "new");
  EXPECT_EQ(bytes_of(dir / "f.txt"), "new");
}

// A file size limit makes the write fail part-way, as a full disk would, and
// works for root as well.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    previous_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previous_handler_);
  }

 private:
  rlimit saved_{};
  void (*previous_handler_)(int) = nullptr;
};

TEST(ReplaceFile, FailedWriteLeavesTheOldFileAndNoTemporary) {
  TempDir dir;
  replace_file(dir / "f.txt", "old");
  {
    FileSizeLimit limit(16);
    EXPECT_THROW(replace_file(dir / "f.txt", std::string(1000, 'x')), std::system_error);
  }
  EXPECT_EQ(bytes_of(dir / "f.txt"), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(ReplaceFile, MissingDirectoryIsAnError) {
  TempDir dir;
  EXPECT_THROW(replace_file(dir / "no/such/f.txt", "x"), std::system_error);
}

}  // namespace
}  // namespace scenario
