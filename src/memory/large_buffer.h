#pragma once

#include <cstddef>
#include <new>

// Memory for the few large buffers of a run (a file's bytes, the values of a
// plan or the cells decoded from their files). In 4 KiB pages, faulted in one
// by one as they are first touched, they cost more than filling them: on a
// virtual machine, a source at its cap took three times as long to fault in
// as to read. A large buffer is faulted in whole by one call, in huge pages
// where it has them, and in no more memory than it asks.

namespace scenario {

// bytes of memory, left as they are, or null when there is none. Below
// kLargeBuffer bytes it is plain malloc'd memory.
void* allocate_buffer(size_t bytes);

// Gives back memory of allocate_buffer(bytes) (null is nothing).
void free_buffer(void* buffer, size_t bytes);

// From this size on a buffer is faulted in whole. Faulted in page by page,
// the four buffers of a diff of two 0.3 MB cell grids made it 3.7 x cmp;
// faulted in whole, 1.9 x, its peak 3.3 MB.
inline constexpr size_t kLargeBuffer = size_t{256} << 10;

// The allocator of a container that may grow large (std::vector<T,
// LargeBufferAllocator<T>>).
template <typename T>
struct LargeBufferAllocator {
  using value_type = T;

  LargeBufferAllocator() = default;
  template <typename U>
  explicit LargeBufferAllocator(const LargeBufferAllocator<U>& /*other*/) {}

  T* allocate(size_t count) {
    if (count > static_cast<size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
    void* memory = allocate_buffer(count * sizeof(T));
    if (memory == nullptr) throw std::bad_alloc();
    return static_cast<T*>(memory);
  }
  void deallocate(T* memory, size_t count) { free_buffer(memory, count * sizeof(T)); }

  template <typename U>
  bool operator==(const LargeBufferAllocator<U>& /*other*/) const {
    return true;
  }
};

}  // namespace scenario
