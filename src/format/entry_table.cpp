#include "format/entry_table.h"

#include "format/coding.h"
#include "format/decode_error.h"
#include "format/scenario_format.h"

namespace scenario {
namespace {

void put_entry(std::string& out, const Entry& entry) {
  put_u8(out, entry.kind);
  put_i32(out, entry.long1);
  put_i32(out, entry.long2);
  put_i32(out, entry.long3);
  put_u8(out, entry.flag);
  put_text(out, entry.text);
  put_i16(out, entry.short1);
  put_i16(out, entry.short2);
  put_i16(out, entry.short3);
  put_i16(out, entry.short4);
  put_i16(out, entry.short5);
  put_u8(out, entry.byte1);
  put_u8(out, entry.byte2);
  put_u8(out, entry.byte3);
  put_u8(out, entry.byte4);
  put_i32(out, entry.long4);
}

Entry get_entry(ByteCursor& in, int row) {
  const std::string name = "entry row " + std::to_string(row);
  in.require(kEntryHeadBytes, name);
  Entry entry;
  entry.kind = get_u8(in);
  entry.long1 = get_i32(in);
  entry.long2 = get_i32(in);
  entry.long3 = get_i32(in);
  entry.flag = get_u8(in);
  const size_t length_at = in.offset();
  const int16_t length = get_i16(in);
  if (length < 0) {
    throw DecodeError(length_at, "impossible value: " + name + " has a text length of " + std::to_string(length));
  }
  const auto text_length = static_cast<size_t>(length);
  in.require(text_length + kEntryTailBytes, name + " with a text of " + std::to_string(length) + " bytes");
  entry.text = get_text_bytes(in, text_length);
  entry.short1 = get_i16(in);
  entry.short2 = get_i16(in);
  entry.short3 = get_i16(in);
  entry.short4 = get_i16(in);
  entry.short5 = get_i16(in);
  entry.byte1 = get_u8(in);
  entry.byte2 = get_u8(in);
  entry.byte3 = get_u8(in);
  entry.byte4 = get_u8(in);
  entry.long4 = get_i32(in);
  return entry;
}

}  // namespace

std::string encode_entry_table(const std::array<Entry, kEntryCount>& entries) {
  std::string out;
  out.reserve(entries.size() * kEntryFixedBytes);
  for (const Entry& entry : entries) put_entry(out, entry);
  return out;
}

std::array<Entry, kEntryCount> decode_entry_table(std::string_view bytes) {
  ByteCursor in(bytes);
  std::array<Entry, kEntryCount> entries;
  for (int row = 0; row < kEntryCount; ++row) entries[static_cast<size_t>(row)] = get_entry(in, row);
  if (!in.at_end()) {
    throw DecodeError(in.offset(), "trailing bytes: " + std::to_string(in.remaining()) + " bytes after the " +
                                       std::to_string(kEntryCount) + " entry rows");
  }
  return entries;
}

}  // namespace scenario
