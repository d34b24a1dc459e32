#include "memory/large_buffer.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

namespace scenario {
namespace {

constexpr size_t kMegabyte = size_t{1} << 20;

// A buffer of allocate_buffer, filled with a byte of its own.
struct Filled {
  Filled(size_t size, unsigned char mark) : bytes(size), byte(mark), data(allocate_buffer(size)) {
    if (data != nullptr) std::memset(data, byte, bytes);
  }
  ~Filled() { free_buffer(data, bytes); }
  Filled(const Filled&) = delete;
  Filled& operator=(const Filled&) = delete;

  bool intact() const {
    const auto* begin = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < bytes; ++i) {
      if (begin[i] != byte) return false;
    }
    return true;
  }

  size_t bytes;
  unsigned char byte;
  void* data;
};

// Whether any page of [data, data + bytes) is still mapped.
bool mapped(const void* data, size_t bytes) {
  const auto page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
  const uintptr_t start = reinterpret_cast<uintptr_t>(data) / page * page;
  std::vector<unsigned char> resident((reinterpret_cast<uintptr_t>(data) + bytes - start + page - 1) / page);
  return ::mincore(reinterpret_cast<void*>(start), reinterpret_cast<uintptr_t>(data) + bytes - start,
                   resident.data()) == 0 ||
         errno != ENOMEM;
}

// Sizes on both sides of each change of where a buffer lives: malloc's
// memory, a huge page shared with others, huge pages of its own.
const std::vector<size_t> kSizes = {0,          1,          kLargeBuffer - 1, kLargeBuffer,  300'000,
                                    kMegabyte,  kMegabyte + 1, 2 * kMegabyte - 1, 2 * kMegabyte, 5 * kMegabyte + 7};

TEST(LargeBuffer, EveryBufferKeepsItsBytesWhileOthersComeAndGo) {
  std::vector<std::unique_ptr<Filled>> buffers;
  for (size_t i = 0; i < kSizes.size(); ++i) {
    buffers.push_back(std::make_unique<Filled>(kSizes[i], static_cast<unsigned char>(i + 1)));
    ASSERT_NE(buffers.back()->data, nullptr) << kSizes[i] << " bytes";
  }
  // Every other one goes, and as many come in their place.
  for (size_t i = 0; i < buffers.size(); i += 2) buffers[i].reset();
  for (size_t i = 0; i < kSizes.size(); i += 2) {
    buffers.push_back(std::make_unique<Filled>(kSizes[i], static_cast<unsigned char>(0x80 + i)));
  }
  for (const auto& buffer : buffers) {
    if (buffer) {
      EXPECT_TRUE(buffer->intact()) << buffer->bytes << " bytes";
    }
  }
}

TEST(LargeBuffer, SharedBuffersBeginOnCacheLinesAndNeverOverlap) {
  constexpr size_t kCacheLine = 64;
  std::vector<std::unique_ptr<Filled>> buffers;
  for (const size_t size : {kLargeBuffer + 1, size_t{100'003}, kLargeBuffer, size_t{700'000}, kMegabyte}) {
    buffers.push_back(std::make_unique<Filled>(size, static_cast<unsigned char>(buffers.size() + 1)));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(buffers.back()->data) % kCacheLine, 0U) << size << " bytes";
  }
  for (const auto& buffer : buffers) EXPECT_TRUE(buffer->intact()) << buffer->bytes << " bytes";
}

// A long-lived program (the language server, check --watch) reads again and
// again: the memory of a shared huge page goes back with its last buffer,
// and the page buffers are carved from is carved again once it is empty.
TEST(LargeBuffer, SharedMemoryGoesBackWithItsLastBuffer) {
  void* const first = allocate_buffer(kMegabyte);
  void* const second = allocate_buffer(kMegabyte);  // no room left beside the first: a page of its own
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  free_buffer(first, kMegabyte);
  EXPECT_FALSE(mapped(first, kMegabyte));
  free_buffer(second, kMegabyte);
  EXPECT_TRUE(mapped(second, kMegabyte));
  void* const again = allocate_buffer(kMegabyte);
  EXPECT_EQ(again, second);
  free_buffer(again, kMegabyte);
}

TEST(LargeBuffer, OwnHugePagesGoBackWhole) {
  constexpr size_t kBytes = 3 * kMegabyte;
  void* const buffer = allocate_buffer(kBytes);
  ASSERT_NE(buffer, nullptr);
  std::memset(buffer, 1, kBytes);
  free_buffer(buffer, kBytes);
  EXPECT_FALSE(mapped(buffer, kBytes));
}

TEST(LargeBuffer, ThreadsShareThePagesSafely) {
  const auto work = [](unsigned char mark) {
    for (int round = 0; round < 200; ++round) {
      const Filled small(kLargeBuffer + static_cast<size_t>(round) * 64, mark);
      const Filled large(3 * kLargeBuffer, static_cast<unsigned char>(mark + 1));
      if (!small.intact() || !large.intact()) return false;
    }
    return true;
  };
  bool first_intact = false;
  bool second_intact = false;
  std::thread other([&] { first_intact = work(0x10); });
  second_intact = work(0x20);
  other.join();
  EXPECT_TRUE(first_intact);
  EXPECT_TRUE(second_intact);
}

TEST(LargeBuffer, ContainersGrowAcrossEverySize) {
  std::vector<int32_t, LargeBufferAllocator<int32_t>> values;
  constexpr int32_t kCount = 1'500'000;  // 6 MB, through each kind of memory on the way
  for (int32_t i = 0; i < kCount; ++i) values.push_back(i);
  for (int32_t i = 0; i < kCount; ++i) {
    if (values[static_cast<size_t>(i)] != i) FAIL() << "value " << i << " lost";
  }
}

}  // namespace
}  // namespace scenario
