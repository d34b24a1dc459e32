#pragma once

#include <cstddef>
#include <new>

// Memory for the few large buffers of a run (a file's bytes, the values of a
// plan or the cells decoded from their files). On a virtual machine a small
// page costs a trap to the host the first time the program touches it, more
// than filling it: a source at its cap took three times as long to fault in
// as to read. So large buffers live in huge pages, each of which costs one
// fault: buffers up to a megabyte share them, larger ones have whole huge
// pages of their own.

namespace scenario {

// bytes of memory, left as they are, or null when there is none. Below
// kLargeBuffer bytes it is plain malloc'd memory.
void* allocate_buffer(size_t bytes);

// Gives back memory of allocate_buffer(bytes) (null is nothing).
void free_buffer(void* buffer, size_t bytes);

// From this size on a buffer is a large one. A source of 77 KB read into
// malloc's memory took 0.3 to 0.5 ms of faults; a shared huge page costs
// 0.2 ms once, for it and every large buffer after it.
inline constexpr size_t kLargeBuffer = size_t{64} << 10;

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
