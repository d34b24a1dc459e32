#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace scenario {

// Fixed-width little-endian values, each put beside its get. A put appends to
// a file under construction; a get reads from the front of a ByteCursor.

// Holds the bytes of a file being decoded and the offset of the next one.
// Every get first checks that its bytes are there: a short file is a
// DecodeError at the offset where the missing value begins.
class ByteCursor {
 public:
  explicit ByteCursor(std::string_view bytes) : bytes_(bytes) {}

  size_t offset() const { return offset_; }
  size_t remaining() const { return bytes_.size() - offset_; }
  bool at_end() const { return offset_ == bytes_.size(); }

  // Fails unless `count` more bytes are there; `what` names the value that
  // needs them ("entry row 5", "tagged value 12"). Each get checks its own
  // bytes as well; require() beforehand gives the message a name for the
  // whole record.
  void require(size_t count, const std::string& what) const;

  // The next `count` bytes, which `what` needs; the cursor moves past them.
  std::string_view take(size_t count, const std::string& what);

 private:
  std::string_view bytes_;
  size_t offset_ = 0;
};

void put_u8(std::string& out, uint8_t value);
uint8_t get_u8(ByteCursor& in);

void put_u16(std::string& out, uint16_t value);
uint16_t get_u16(ByteCursor& in);

void put_i16(std::string& out, int16_t value);
int16_t get_i16(ByteCursor& in);

void put_i32(std::string& out, int32_t value);
int32_t get_i32(ByteCursor& in);

void put_f64(std::string& out, double value);
double get_f64(ByteCursor& in);

// A text is its length as an i16, then its bytes, never terminated. A text
// longer than kLongestText is refused with std::length_error, never cut
// short. The length is read on its own (get_i16), so that a reader can judge
// it before asking for the bytes.
void put_text(std::string& out, std::string_view text);
std::string get_text_bytes(ByteCursor& in, size_t length);

}  // namespace scenario
