#include "memory/large_buffer.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>

namespace scenario {
namespace {

// A huge page of x86-64.
constexpr size_t kHugePage = size_t{2} << 20;

}  // namespace

void* allocate_buffer(size_t bytes) {
  if (bytes < kLargeBuffer) return std::malloc(std::max<size_t>(bytes, 1));
  const size_t whole_pages = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  void* buffer = std::aligned_alloc(kHugePage, whole_pages);
  if (buffer != nullptr) ::madvise(buffer, whole_pages, MADV_HUGEPAGE);
  return buffer;
}

void free_buffer(void* buffer) { std::free(buffer); }

}  // namespace scenario
