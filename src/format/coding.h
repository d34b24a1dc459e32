#pragma once

#include <bit>
#include <stdexcept>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

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

  // Fails unless `count` more bytes are there; `what()` names the value
  // that needs them ("entry row 5", "tagged value 12"), and is called only
  // then: a file read without fault makes no message. Each get checks its
  // own bytes as well; require() beforehand gives the message a name for
  // the whole record.
  template <typename Name>
  void require(size_t count, const Name& what) const {
    if (remaining() < count) [[unlikely]] fail_short(count, what());
  }

  // The next `count` bytes, which `what` needs; the cursor moves past them.
  std::string_view take(size_t count, const char* what) {
    require(count, [what] { return std::string(what); });
    const std::string_view taken = bytes_.substr(offset_, count);
    offset_ += count;
    return taken;
  }

 private:
  [[noreturn]] void fail_short(size_t count, const std::string& what) const;

  std::string_view bytes_;
  size_t offset_ = 0;
};

// The types the files store: u8, u16, i16, i32 and f64.
template <typename T>
concept FixedWidth = std::same_as<T, uint8_t> || std::same_as<T, uint16_t> || std::same_as<T, int16_t> ||
                     std::same_as<T, int32_t> || std::same_as<T, double>;

// The low `count` bytes of `bits`, low byte first. Inline: every field of
// every record goes through it, and a call per field cost more than the field.
inline void put_little_endian(std::string& out, uint64_t bits, size_t count) {
  char bytes[sizeof bits];
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>((bits >> (8 * i)) & 0xFFu);
  out.append(bytes, count);
}

// The N bytes at `at`, low byte first, for a reader of bytes already checked
// to be there (one load where the machine is little-endian).
template <size_t N>
uint64_t load_little_endian(const char* at) {
  uint64_t bits = 0;
  for (size_t i = 0; i < N; ++i) bits |= static_cast<uint64_t>(static_cast<unsigned char>(at[i])) << (8 * i);
  return bits;
}

// The next N bytes of `in`, low byte first. Inline as its put is: a grid of
// twenty thousand cells is eleven gets a cell.
template <size_t N>
uint64_t get_little_endian(ByteCursor& in) {
  return load_little_endian<N>(in.take(N, "a value").data());
}

// A signed value is stored in two's complement, a double as its IEEE bits.
template <FixedWidth T>
void put_fixed(std::string& out, T value) {
  if constexpr (std::is_floating_point_v<T>) {
    put_little_endian(out, std::bit_cast<uint64_t>(value), sizeof value);
  } else {
    put_little_endian(out, static_cast<std::make_unsigned_t<T>>(value), sizeof value);
  }
}
template <FixedWidth T>
T get_fixed(ByteCursor& in) {
  const uint64_t bits = get_little_endian<sizeof(T)>(in);
  if constexpr (std::is_floating_point_v<T>) {
    return std::bit_cast<T>(bits);
  } else {
    return static_cast<T>(static_cast<std::make_unsigned_t<T>>(bits));
  }
}
// The same into a record's field, its type telling the width.
template <FixedWidth T>
void get_fixed(ByteCursor& in, T& field) {
  field = get_fixed<T>(in);
}

// Calls visit on each field in turn, first to last: a record lists its fields
// once, in file order, for its put and its get alike.
template <typename Visit, typename... Fields>
void each_field(Visit visit, Fields&... fields) {
  (visit(fields), ...);
}

// A text too long for the field that would hold it: the scenario cannot be
// written as it stands.
class TextTooLong : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A text is its length as an i16, then its bytes, never terminated. A text
// longer than kLongestText is refused with TextTooLong, never cut
// short. The length is read on its own (get_fixed<int16_t>), so that a reader
// can judge it before asking for the bytes.
void put_text(std::string& out, std::string_view text);
std::string get_text_bytes(ByteCursor& in, size_t length);

}  // namespace scenario
