#include "memory/large_buffer.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace scenario {
namespace {

// A small page and a huge page of x86-64.
constexpr size_t kPage = size_t{4} << 10;
constexpr size_t kHugePage = size_t{2} << 20;

// What a buffer of bytes maps: whole small pages, or whole huge pages from
// the size of one on. A huge page costs one fault however much of it is
// used; a smaller buffer is faulted in whole by one call instead, in no more
// memory than it asks.
size_t mapped_length(size_t bytes) {
  const size_t page = bytes < kHugePage ? kPage : kHugePage;
  return (bytes + page - 1) / page * page;
}

// A mapping of length bytes that begins on a huge page's boundary: a
// mapping of one huge page more, its ends cut off.
void* map_aligned(size_t length) {
  void* const mapped = ::mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) return nullptr;
  const auto start = reinterpret_cast<uintptr_t>(mapped);
  const uintptr_t aligned = (start + kHugePage - 1) / kHugePage * kHugePage;
  if (aligned > start) ::munmap(mapped, aligned - start);
  const uintptr_t end = start + length + kHugePage;
  if (end > aligned + length) ::munmap(reinterpret_cast<void*>(aligned + length), end - aligned - length);
  return reinterpret_cast<void*>(aligned);
}

}  // namespace

void* allocate_buffer(size_t bytes) {
  if (bytes < kLargeBuffer) return std::malloc(std::max<size_t>(bytes, 1));
  const size_t length = mapped_length(bytes);
  void* const buffer = map_aligned(length);
  if (buffer == nullptr) return nullptr;
  // A kernel that knows neither advice faults the pages one by one as they
  // are touched, as it would malloc's.
  ::madvise(buffer, length, length < kHugePage ? MADV_POPULATE_WRITE : MADV_HUGEPAGE);
  return buffer;
}

void free_buffer(void* buffer, size_t bytes) {
  if (bytes < kLargeBuffer) {
    std::free(buffer);
  } else if (buffer != nullptr) {
    ::munmap(buffer, mapped_length(bytes));
  }
}

}  // namespace scenario
