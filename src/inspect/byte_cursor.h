#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace scenario {

// Reads little-endian values from the front of a byte string and knows the
// offset of the next byte. Every read first checks that its bytes are there:
// a short file is a DecodeError at the offset where the missing value begins.
class ByteCursor {
 public:
  explicit ByteCursor(std::string_view bytes) : bytes_(bytes) {}

  size_t offset() const { return offset_; }
  size_t remaining() const { return bytes_.size() - offset_; }
  bool at_end() const { return offset_ == bytes_.size(); }

  // Fails unless `count` more bytes are there; `what` names the value that
  // needs them ("row 5", "tagged value 12").
  void require(size_t count, const std::string& what) const;

  // Each read checks its own bytes as well; require() beforehand gives the
  // message a name for the whole record.
  uint8_t u8();
  uint16_t u16();
  int16_t i16() { return static_cast<int16_t>(u16()); }
  int32_t i32();
  double f64();
  std::string text(size_t length);

 private:
  uint64_t little_endian(size_t count);

  std::string_view bytes_;
  size_t offset_ = 0;
};

}  // namespace scenario
