#include "inspect/byte_cursor.h"

#include <bit>

#include "inspect/decode_error.h"

namespace scenario {

void ByteCursor::require(size_t count, const std::string& what) const {
  if (remaining() >= count) return;
  throw DecodeError(offset_, "truncated: " + what + " needs " + std::to_string(count) + " bytes from byte " +
                                 std::to_string(offset_) + ", the file has " + std::to_string(remaining()) + " left");
}

uint64_t ByteCursor::little_endian(size_t count) {
  require(count, "a value");
  uint64_t value = 0;
  for (size_t i = 0; i < count; ++i) {
    const auto byte = static_cast<unsigned char>(bytes_[offset_ + i]);
    value |= static_cast<uint64_t>(byte) << (8 * i);
  }
  offset_ += count;
  return value;
}

uint8_t ByteCursor::u8() { return static_cast<uint8_t>(little_endian(1)); }

uint16_t ByteCursor::u16() { return static_cast<uint16_t>(little_endian(2)); }

int32_t ByteCursor::i32() { return static_cast<int32_t>(static_cast<uint32_t>(little_endian(4))); }

double ByteCursor::f64() { return std::bit_cast<double>(little_endian(8)); }

std::string ByteCursor::text(size_t length) {
  require(length, "a text");
  std::string value(bytes_.substr(offset_, length));
  offset_ += length;
  return value;
}

}  // namespace scenario
