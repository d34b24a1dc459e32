#include "format/entry_table.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "format/coding.h"
#include "format/scenario_format.h"
#include "support/hex.h"

namespace scenario {
namespace {

using testing::from_hex;
using testing::to_hex;

TEST(EntryTable, RowIsStoredFieldAfterFieldLittleEndianAroundItsText) {
  std::array<Entry, kEntryCount> entries{};
  entries[0] = Entry{0x11, 0x04030201, -2, 0x7F000000, 0x22, "AB", 0x0102, -1, 3, 4, 5, 6, 7, 8, 0xFF, 0x0A0B0C0D};
  const std::string row =
      "11 01 02 03 04 FE FF FF FF 00 00 00 7F 22 02 00 41 42 02 01 FF FF 03 00 04 00 05 00 06 07 08 FF 0D 0C 0B 0A";
  const std::string bytes = encode_entry_table(entries);
  EXPECT_EQ(to_hex(std::string_view(bytes).substr(0, 36)), row);
  EXPECT_EQ(decode_entry_table(from_hex(row) + std::string(86 * kEntryFixedBytes, '\0')), entries);
}

TEST(EntryTable, HoldsAll87RowsAndEmptyRowsTake34ZeroBytes) {
  std::array<Entry, kEntryCount> entries{};
  entries[kScenarioRow].text = "Dorvallo_Brisente";
  entries[kTrainRow].text = "47302";
  const std::string bytes = encode_entry_table(entries);
  ASSERT_EQ(bytes.size(), 87u * 34u + 17u + 5u);
  EXPECT_EQ(bytes.substr(0, 34), std::string(34, '\0'));  // row 0
  const size_t row85 = 85u * 34u;
  EXPECT_EQ(to_hex(std::string_view(bytes).substr(row85 + 14, 4)), "11 00 44 6F");
}

TEST(EntryTable, TextKeepsItsWindows1252BytesWithoutTerminator) {
  std::array<Entry, kEntryCount> entries{};
  entries[0].text = "90\xB0";  // the degree sign is one byte
  const std::string bytes = encode_entry_table(entries);
  EXPECT_EQ(to_hex(std::string_view(bytes).substr(14, 7)), "03 00 39 30 B0 00 00");
}

TEST(EntryTable, TextLongerThanASigned16BitLengthIsRefused) {
  std::array<Entry, kEntryCount> entries{};
  entries[80].text = std::string(kLongestText, 'x');
  const std::string bytes = encode_entry_table(entries);
  EXPECT_EQ(to_hex(std::string_view(bytes).substr(80 * 34 + 14, 2)), "FF 7F");
  entries[80].text.push_back('x');
  EXPECT_THROW(encode_entry_table(entries), TextTooLong);
}

}  // namespace
}  // namespace scenario
