#pragma once

#include <cstddef>
#include <new>

// Memory for the few large buffers of a run (a file's bytes, the values of a
// plan decoded from its file): aligned and sized to whole huge pages, which
// the kernel is asked to back with them. In 4 KiB pages, the faults of the
// first touch cost more than filling the memory: on a virtual machine, a
// source at its cap took three times as long to fault in as to read.

namespace scenario {

// bytes of memory, left as they are, or null when there is none. Below
// kLargeBuffer bytes it is plain malloc'd memory; where the kernel gives no
// huge pages, the same memory in small pages.
void* allocate_buffer(size_t bytes);

// Gives back memory of allocate_buffer (null is nothing).
void free_buffer(void* buffer);

// From this size on a buffer goes into huge pages. One fault of a huge page
// zeroes 2 MiB, tens of microseconds; the 64 faults of a 256 KiB buffer in
// small pages cost more on a virtual machine and about as much on bare metal
// (diff of two 0.3 MB cell grids: 476 faults and 3.0 x cmp before, 336 and
// 2.3 x after).
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
  void deallocate(T* memory, size_t /*count*/) { free_buffer(memory); }

  template <typename U>
  bool operator==(const LargeBufferAllocator<U>& /*other*/) const {
    return true;
  }
};

}  // namespace scenario
