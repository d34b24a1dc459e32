#include "memory/large_buffer.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <mutex>

namespace scenario {
namespace {

// A huge page of x86-64.
constexpr size_t kHugePage = size_t{2} << 20;
// Up to this size buffers share huge pages; a larger one has whole huge
// pages of its own, so that no more than half a huge page of it is waste.
constexpr size_t kLargestShared = kHugePage / 2;
// Where a shared buffer begins in its huge page: on a cache line.
constexpr size_t kSharedAlignment = 64;

constexpr size_t rounded_up(size_t bytes, size_t unit) { return (bytes + unit - 1) / unit * unit; }

// A mapping of length bytes that begins on a huge page's boundary: a
// mapping of one huge page more, its ends cut off.
void* map_aligned(size_t length) {
  void* const mapped = ::mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) return nullptr;
  const auto start = reinterpret_cast<uintptr_t>(mapped);
  const uintptr_t aligned = rounded_up(start, kHugePage);
  if (aligned > start) ::munmap(mapped, aligned - start);
  const uintptr_t end = start + length + kHugePage;
  if (end > aligned + length) ::munmap(reinterpret_cast<void*>(aligned + length), end - aligned - length);
  return reinterpret_cast<void*>(aligned);
}

// Whole huge pages, their first touch faulting in two megabytes at once. A
// kernel without them faults the pages in one by one as they are touched.
void* map_huge(size_t length) {
  void* const mapped = map_aligned(length);
  if (mapped != nullptr) ::madvise(mapped, length, MADV_HUGEPAGE);
  return mapped;
}

// A huge page that mid-sized buffers share: they are carved from it one
// after the other, and its header, at its start, counts those not yet given
// back. It goes when the last of them goes, unless it is still the page new
// buffers are carved from; then it is carved again from its start.
struct SharedPage {
  size_t carved;   // bytes from the start of the page, header included
  size_t buffers;  // carved and not yet given back
};
constexpr size_t kHeader = rounded_up(sizeof(SharedPage), kSharedAlignment);

SharedPage* page_of(void* buffer) {
  return reinterpret_cast<SharedPage*>(reinterpret_cast<uintptr_t>(buffer) / kHugePage * kHugePage);
}

// On a virtual machine every small page a program first touches costs it a
// trap to the host, and the four buffers of a diff of two 990 km cell grids
// in small pages of their own made it about 2 x cmp, faulted in whole or
// not. In one shared huge page they cost one fault: 1.25 to 1.4 x cmp.
class SharedPages {
 public:
  constexpr SharedPages() = default;

  void* allocate(size_t bytes) {
    const size_t length = rounded_up(bytes, kSharedAlignment);
    const std::lock_guard lock(mutex_);
    if (current_ == nullptr || current_->carved + length > kHugePage) {
      void* const page = map_huge(kHugePage);
      if (page == nullptr) return nullptr;
      // The page it replaces has buffers left (an empty one is carved again
      // from its start, and any buffer shared fits that): it goes with them.
      current_ = new (page) SharedPage{kHeader, 0};
    }
    char* const buffer = reinterpret_cast<char*>(current_) + current_->carved;
    current_->carved += length;
    ++current_->buffers;
    return buffer;
  }

  void free(void* buffer) {
    SharedPage* const page = page_of(buffer);
    const std::lock_guard lock(mutex_);
    if (--page->buffers > 0) return;
    if (page == current_) {
      page->carved = kHeader;
    } else {
      ::munmap(page, kHugePage);
    }
  }

 private:
  std::mutex mutex_;
  SharedPage* current_ = nullptr;
};

// Initialised as a constant and with nothing to destroy, so that a buffer
// that a static object gives back as the program ends still finds it.
constinit SharedPages shared_pages;

enum class Home { kMalloc, kShared, kOwnPages };

Home home_of(size_t bytes) {
  if (bytes < kLargeBuffer) return Home::kMalloc;
  return bytes <= kLargestShared ? Home::kShared : Home::kOwnPages;
}

}  // namespace

void* allocate_buffer(size_t bytes) {
  switch (home_of(bytes)) {
    case Home::kMalloc: return std::malloc(std::max<size_t>(bytes, 1));
    case Home::kShared: return shared_pages.allocate(bytes);
    case Home::kOwnPages: return map_huge(rounded_up(bytes, kHugePage));
  }
  return nullptr;
}

void free_buffer(void* buffer, size_t bytes) {
  if (buffer == nullptr) return;
  switch (home_of(bytes)) {
    case Home::kMalloc: std::free(buffer); break;
    case Home::kShared: shared_pages.free(buffer); break;
    case Home::kOwnPages: ::munmap(buffer, rounded_up(bytes, kHugePage)); break;
  }
}

}  // namespace scenario
