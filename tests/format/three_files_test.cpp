#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

#include "format/cell_grid.h"
#include "format/decode_error.h"
#include "format/entry_table.h"
#include "format/line_geometry.h"
#include "support/hex.h"

namespace scenario {
namespace {

using testing::from_hex;

// What holds for all three files: a damaged one is refused at the byte where
// the trouble begins, and decoding then encoding gives back every byte.

// An entry row with every field distinct, as the layout stores it.
constexpr std::string_view kRowHex =
    "11 01 02 03 04 FE FF FF FF 00 00 00 7F 22 02 00 41 42 02 01 FF FF 03 00 04 00 05 00 06 07 08 FF 0D 0C 0B 0A";
const std::string kEmptyRow(34, '\0');

std::string table_with_first_row(std::string_view row_hex) {
  std::string bytes = from_hex(row_hex);
  for (int row = 1; row < kEntryCount; ++row) bytes += kEmptyRow;
  return bytes;
}

struct BadFile {
  const char* name;
  std::function<void(std::string_view)> decode;
  std::string bytes;
  size_t offset;
  const char* message;  // a part of the message
};

void PrintTo(const BadFile& bad, std::ostream* out) { *out << bad.name; }

const auto kGeometry = [](std::string_view b) { decode_line_geometry(b); };
const auto kEntries = [](std::string_view b) { decode_entry_table(b); };
const auto kCells = [](std::string_view b) { decode_cell_grid(b); };

std::string entry_rows(int count) {
  std::string bytes;
  for (int row = 0; row < count; ++row) bytes += kEmptyRow;
  return bytes;
}

const std::string kTwoCells(30, '\0');

std::string bad_file_name(const ::testing::TestParamInfo<BadFile>& param) { return param.param.name; }

class DecodeFails : public ::testing::TestWithParam<BadFile> {};

TEST_P(DecodeFails, NamesTheByteWhereTheTroubleBegins) {
  const BadFile& bad = GetParam();
  try {
    bad.decode(bad.bytes);
    FAIL() << "decoded without complaint";
  } catch (const DecodeError& e) {
    EXPECT_EQ(e.offset, bad.offset) << e.what();
    EXPECT_NE(std::string(e.what()).find(bad.message), std::string::npos) << e.what();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, DecodeFails,
    ::testing::Values(
        BadFile{"GeometryEmpty", kGeometry, "", 0, "no tagged value"},
        BadFile{"GeometryHalfATag", kGeometry, from_hex("02 00 00 00 02"), 4, "tagged value 1 needs 2 bytes"},
        BadFile{"GeometryShortDouble", kGeometry, from_hex("02 00 00 00 05 00 00 00"), 6,
                "tagged value 1 (a double) needs 8 bytes"},
        BadFile{"GeometryUnknownTag", kGeometry, from_hex("02 00 00 00 03 00 00 00"), 4, "has type 3"},
        BadFile{"GeometryNotFinite", kGeometry, from_hex("05 00 00 00 00 00 00 00 F8 7F 00 00"), 2, "not finite"},
        BadFile{"GeometryOddCount", kGeometry, from_hex("02 00 00 00 00 00 00 00"), 6, "odd number (3)"},
        // Faults after sound values of every length, in the y half.
        BadFile{"GeometryShortIntegerAfterValues", kGeometry,
                from_hex("02 00 00 00 05 00 00 00 00 00 00 00 F0 3F 00 00 02 00 01"), 18,
                "tagged value 3 (a 16-bit integer) needs 2 bytes"},
        BadFile{"GeometryNotFiniteInTheYHalf", kGeometry,
                from_hex("02 00 00 00 05 00 00 00 00 00 00 00 F0 3F 00 00 05 00 00 00 00 00 00 00 F0 FF"), 18,
                "tagged value 3 is a double that is not finite"},
        BadFile{"EntriesEmpty", kEntries, "", 0, "entry row 0 needs 16 bytes"},
        BadFile{"EntriesMissingLastRow", kEntries, entry_rows(86), 86 * 34, "entry row 86 needs 16 bytes"},
        BadFile{"EntriesTextCutShort", kEntries, from_hex("00 00000000 00000000 00000000 00 0500 4142"), 16,
                "entry row 0 with a text of 5 bytes needs 23 bytes"},
        BadFile{"EntriesNegativeTextLength", kEntries, table_with_first_row(
                    "00 00000000 00000000 00000000 00 FF FF 0000 0000 0000 0000 0000 00 00 00 00 00000000"),
                14, "text length of -1"},
        BadFile{"EntriesTrailingByte", kEntries, entry_rows(87) + "x", 87 * 34, "trailing bytes: 1 bytes"},
        BadFile{"CellsPartOfACell", kCells, kTwoCells + "x", 30, "ends 1 bytes into cell 2"},
        BadFile{"CellsShorterThanOneCell", kCells, std::string(14, '\0'), 0, "into cell 0"},
        BadFile{"CellsWithoutTheReservedCell", kCells, std::string(15, '\0'), 15, "at least cells 0 and 1"},
        BadFile{"CellsUnknownKind", kCells, std::string(15, '\0') + "\x07" + std::string(14, '\0'), 15,
                "cell 1 has kind 7"}),
    bad_file_name);

// A scenario small enough to read, with every tag, negative and extreme
// values, a text in each shared row and the degree sign.
struct HandmadeFiles {
  HandmadeFiles() {
    trace.x = {{TraceValue::kInt16, 0.0}, {TraceValue::kInt16, -32768.0}, {TraceValue::kDouble, 0.25}, {}};
    trace.y = {{TraceValue::kInt16, 0.0}, {TraceValue::kInt16, 1.0}, {TraceValue::kDouble, -1e300}, {}};
    entries[1] = Entry{.kind = 11, .long1 = -300, .long2 = 300, .text = "DORVALLO", .long4 = 39420};
    entries[80].text = "(SOTTOVIA   )(VIA II\xB0)";
    entries[82] = Entry{.long2 = 35100, .long3 = 1, .text = ""};
    entries[85] = Entry{.text = "S", .short1 = kScenarioMark, .long4 = std::numeric_limits<int32_t>::min()};
    cells.resize(6);
    cells[1] = Cell{.p1 = kCellMark, .p2 = 2370};
    cells[3] = Cell{.kind = kSignal, .p1 = 42, .p4 = 8, .timer = 255, .gradient = 97};
    cells[5] = Cell{.kind = kTextBoard, .p1 = 80, .p2 = -32768, .approach = 81, .tunnel = 2};
  }
  Trace trace;
  std::array<Entry, kEntryCount> entries{};
  Cells cells;
};

TEST(RoundTrip, DecodingThenEncodingGivesBackTheBytes) {
  const HandmadeFiles files;
  const std::string geometry = encode_line_geometry(files.trace);
  const std::string table = encode_entry_table(files.entries);
  const std::string grid = encode_cell_grid(files.cells);
  const Trace trace = decode_line_geometry(geometry);
  EXPECT_EQ(trace.x, files.trace.x);
  EXPECT_EQ(trace.y, files.trace.y);
  EXPECT_EQ(decode_entry_table(table), files.entries);
  EXPECT_EQ(decode_cell_grid(grid), files.cells);
  EXPECT_EQ(encode_line_geometry(trace), geometry);
  EXPECT_EQ(encode_entry_table(decode_entry_table(table)), table);
  EXPECT_EQ(encode_cell_grid(decode_cell_grid(grid)), grid);
}

TEST(RoundTrip, HandWrittenBytesComeBackUnchanged) {
  const std::string table = table_with_first_row(kRowHex);
  EXPECT_EQ(encode_entry_table(decode_entry_table(table)), table);
  const std::string geometry = from_hex("02 00 FF 7F 05 00 00 00 00 00 00 00 00 80 00 00 00 00");  // -0.0 kept
  EXPECT_EQ(encode_line_geometry(decode_line_geometry(geometry)), geometry);
}

}  // namespace
}  // namespace scenario
