#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace scenario {

// A binary scenario file that cannot be decoded: truncated, with trailing
// bytes, or holding a value no compiler writes. Names the byte where the
// trouble begins, so that a hex editor can go straight to it.
class DecodeError : public std::runtime_error {
 public:
  DecodeError(size_t byte_offset, const std::string& what) : std::runtime_error(what), offset(byte_offset) {}
  size_t offset;
};

}  // namespace scenario
