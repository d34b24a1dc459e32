#include "format/entry_table.h"

#include "format/coding.h"
#include "format/decode_error.h"
#include "format/scenario_format.h"

namespace scenario {
namespace {

// entry := kind: u8, long1: i32, long2: i32, long3: i32, flag: u8,   (the head)
//          text: string,
//          short1: i16, ... short5: i16, byte1: u8, ... byte4: u8, long4: i32   (the tail)
template <typename AnyEntry, typename Visit>
void head_fields(AnyEntry& e, Visit visit) {
  each_field(visit, e.kind, e.long1, e.long2, e.long3, e.flag);
}

template <typename AnyEntry, typename Visit>
void tail_fields(AnyEntry& e, Visit visit) {
  each_field(visit, e.short1, e.short2, e.short3, e.short4, e.short5, e.byte1, e.byte2, e.byte3, e.byte4, e.long4);
}

void put_entry(std::string& out, const Entry& entry) {
  const auto put = [&out](auto field) { put_fixed(out, field); };
  head_fields(entry, put);
  put_text(out, entry.text);
  tail_fields(entry, put);
}

Entry get_entry(ByteCursor& in, int row) {
  const auto name = [row] { return "entry row " + std::to_string(row); };
  in.require(kEntryHeadBytes, name);
  const auto get = [&in](auto& field) { get_fixed(in, field); };
  Entry entry;
  head_fields(entry, get);
  const size_t length_at = in.offset();
  const auto length = get_fixed<int16_t>(in);
  if (length < 0) {
    throw DecodeError(length_at, "impossible value: " + name() + " has a text length of " + std::to_string(length));
  }
  const auto text_length = static_cast<size_t>(length);
  in.require(text_length + kEntryTailBytes,
             [&] { return name() + " with a text of " + std::to_string(length) + " bytes"; });
  entry.text = get_text_bytes(in, text_length);
  tail_fields(entry, get);
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
