#pragma once

#include <cstdint>
#include <string_view>

namespace scenario::testing {

// The 64-bit FNV-1a digest of some bytes: 16 hex digits that pin every byte
// of a file.
inline uint64_t fnv1a(std::string_view bytes) {
  constexpr uint64_t kOffsetBasis = 0xcbf29ce484222325;
  constexpr uint64_t kPrime = 0x100000001b3;
  uint64_t digest = kOffsetBasis;
  for (const char c : bytes) {
    digest ^= static_cast<unsigned char>(c);
    digest *= kPrime;
  }
  return digest;
}

}  // namespace scenario::testing
