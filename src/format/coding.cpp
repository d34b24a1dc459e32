#include "format/coding.h"

#include <bit>
#include <stdexcept>

#include "format/decode_error.h"
#include "format/scenario_format.h"

namespace scenario {
namespace {

// Low byte first.
void put_little_endian(std::string& out, uint64_t value, size_t count) {
  char bytes[sizeof value];
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFFu);
  out.append(bytes, count);
}

uint64_t get_little_endian(ByteCursor& in, size_t count) {
  const std::string_view bytes = in.take(count, "a value");
  uint64_t value = 0;
  for (size_t i = 0; i < count; ++i) value |= static_cast<uint64_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
  return value;
}

}  // namespace

void ByteCursor::require(size_t count, const std::string& what) const {
  if (remaining() >= count) return;
  throw DecodeError(offset_, "truncated: " + what + " needs " + std::to_string(count) + " bytes from byte " +
                                 std::to_string(offset_) + ", the file has " + std::to_string(remaining()) + " left");
}

std::string_view ByteCursor::take(size_t count, const std::string& what) {
  require(count, what);
  const std::string_view taken = bytes_.substr(offset_, count);
  offset_ += count;
  return taken;
}

void put_u8(std::string& out, uint8_t value) { put_little_endian(out, value, 1); }
uint8_t get_u8(ByteCursor& in) { return static_cast<uint8_t>(get_little_endian(in, 1)); }

void put_u16(std::string& out, uint16_t value) { put_little_endian(out, value, 2); }
uint16_t get_u16(ByteCursor& in) { return static_cast<uint16_t>(get_little_endian(in, 2)); }

void put_i16(std::string& out, int16_t value) { put_u16(out, static_cast<uint16_t>(value)); }
int16_t get_i16(ByteCursor& in) { return static_cast<int16_t>(get_u16(in)); }

void put_i32(std::string& out, int32_t value) { put_little_endian(out, static_cast<uint32_t>(value), 4); }
int32_t get_i32(ByteCursor& in) { return static_cast<int32_t>(static_cast<uint32_t>(get_little_endian(in, 4))); }

void put_f64(std::string& out, double value) { put_little_endian(out, std::bit_cast<uint64_t>(value), 8); }
double get_f64(ByteCursor& in) { return std::bit_cast<double>(get_little_endian(in, 8)); }

void put_text(std::string& out, std::string_view text) {
  if (text.size() > kLongestText) {
    throw std::length_error("a text of " + std::to_string(text.size()) +
                            " bytes is longer than a record can hold (" + std::to_string(kLongestText) + ")");
  }
  put_i16(out, static_cast<int16_t>(text.size()));
  out.append(text);
}
std::string get_text_bytes(ByteCursor& in, size_t length) { return std::string(in.take(length, "a text")); }

}  // namespace scenario
