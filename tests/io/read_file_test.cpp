#include "io/read_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>

#include "io/replace_file.h"
#include "support/temp_dir.h"

namespace scenario {
namespace {

using testing::TempDir;

constexpr SizeCap kTenBytes{10, "a test file"};

std::string failure(const std::filesystem::path& path, SizeCap cap = kTenBytes) {
  try {
    read_file(path, cap);
  } catch (const std::system_error& e) {
    return e.what();
  }
  return "read";
}

TEST(ReadFile, ReadsARegularFileWhole) {
  TempDir dir;
  replace_file(dir / "f", std::string("a\0b\r\n", 5));
  EXPECT_EQ(read_file(dir / "f", kTenBytes).view(), std::string_view("a\0b\r\n", 5));
  replace_file(dir / "empty", "");
  EXPECT_EQ(read_file(dir / "empty", kTenBytes).view(), "");
}

// Large files go into memory of whole huge pages: every byte read, none past
// the file's end shown, at the sizes on either side of the switch and of a
// page's end.
TEST(ReadFile, ReadsLargeFilesWhole) {
  constexpr size_t kMiB = size_t{1} << 20;
  for (const size_t size : {kMiB / 4 - 1, kMiB / 4, kMiB, 2 * kMiB, 2 * kMiB + 1, 8 * kMiB - 3}) {
    SCOPED_TRACE(size);
    TempDir dir;
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>('a' + (i * 7 + i / 4096) % 26);
    replace_file(dir / "f", bytes);
    EXPECT_TRUE(read_file(dir / "f", {8 * kMiB, "a test file"}).view() == bytes);
  }
}

// What stands at the path, and the reason a read gives: "does not exist" for
// nothing at all and only then, the system's own words otherwise, at once
// and without blocking.
struct Refusal {
  const char* case_name;
  std::function<std::filesystem::path(const TempDir&)> make;
  const char* reason;
};

const Refusal kRefusals[] = {
    {"missing", [](const TempDir& dir) { return dir / "missing"; }, ": does not exist"},
    {"missing directory", [](const TempDir& dir) { return dir / "no" / "f"; }, ": does not exist"},
    {"loop of links",
     [](const TempDir& dir) {
       std::filesystem::create_symlink("b", dir / "a");
       std::filesystem::create_symlink("a", dir / "b");
       return dir / "a";
     },
     ": Too many levels of symbolic links"},
    {"name too long", [](const TempDir& dir) { return dir / std::string(300, 'n'); }, ": File name too long"},
    {"under a file",
     [](const TempDir& dir) {
       replace_file(dir / "f", "x");
       return dir / "f" / "g";
     },
     ": Not a directory"},
    {"directory", [](const TempDir& dir) { return dir.path(); }, ": not a regular file"},
    {"FIFO without a writer",
     [](const TempDir& dir) {
       ::mkfifo((dir / "fifo").c_str(), 0600);
       return dir / "fifo";
     },
     ": not a regular file"},
    {"endless device", [](const TempDir&) { return std::filesystem::path("/dev/zero"); }, ": not a regular file"},
    {"too large",
     [](const TempDir& dir) {
       replace_file(dir / "big", std::string(11, 'x'));
       return dir / "big";
     },
     "11 bytes, more than the 10 of a test file: File too large"},
};

TEST(ReadFile, RefusesWithTheReason) {
  for (const Refusal& refusal : kRefusals) {
    SCOPED_TRACE(refusal.case_name);
    TempDir dir;
    const std::filesystem::path path = refusal.make(dir);
    const std::string what = failure(path);
    EXPECT_TRUE(what.starts_with("cannot read " + path.string())) << what;
    EXPECT_TRUE(what.ends_with(refusal.reason)) << what;
  }
}

TEST(ReadFile, MissingOnlyWhenNothingIsThere) {
  TempDir dir;
  EXPECT_TRUE(file_missing(dir / "missing"));
  EXPECT_TRUE(file_missing(dir / "no" / "f"));
  std::filesystem::create_symlink("nowhere", dir / "dangling");
  EXPECT_TRUE(file_missing(dir / "dangling"));
  std::filesystem::create_symlink("b", dir / "a");
  std::filesystem::create_symlink("a", dir / "b");
  EXPECT_FALSE(file_missing(dir / "a"));
  EXPECT_FALSE(file_missing(dir / std::string(300, 'n')));
  EXPECT_FALSE(file_missing(dir.path()));
}

}  // namespace
}  // namespace scenario
