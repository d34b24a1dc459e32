#pragma once

#include <array>
#include <string>
#include <string_view>

#include "model/route_model.h"

namespace scenario {

// The entry table file: the 87 rows, row 0 first; a row is 34 bytes plus the
// length of its text.

// A text longer than kLongestText is refused with TextTooLong.
std::string encode_entry_table(const std::array<Entry, kEntryCount>& entries);

// Throws DecodeError, naming the byte offset, unless the file holds exactly
// 87 rows, none with a negative text length.
std::array<Entry, kEntryCount> decode_entry_table(std::string_view bytes);

}  // namespace scenario
