#include "format/coding.h"

#include <stdexcept>

#include "format/decode_error.h"
#include "format/scenario_format.h"

namespace scenario {

void ByteCursor::fail_short(size_t count, const std::string& what) const {
  throw DecodeError(offset_, "truncated: " + what + " needs " + std::to_string(count) + " bytes from byte " +
                                 std::to_string(offset_) + ", the file has " + std::to_string(remaining()) + " left");
}

void put_text(std::string& out, std::string_view text) {
  if (text.size() > kLongestText) {
    throw TextTooLong("a text of " + std::to_string(text.size()) +
                            " bytes is longer than a record can hold (" + std::to_string(kLongestText) + ")");
  }
  put_fixed(out, static_cast<int16_t>(text.size()));
  out.append(text);
}

std::string get_text_bytes(ByteCursor& in, size_t length) { return std::string(in.take(length, "a text")); }

}  // namespace scenario
