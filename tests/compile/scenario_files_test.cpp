#include "compile/scenario_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string_view>

#include "io/replace_file.h"
#include "model/run_failure.h"
#include "support/source_fixtures.h"
#include "support/temp_dir.h"

namespace scenario {
namespace {

using testing::bytes_of;

// Bytes as "02 00 41 42", for messages a reader can check against a layout.
std::string hex(std::string_view bytes) {
  std::string text;
  for (const char c : bytes) {
    char byte[4];
    std::snprintf(byte, sizeof byte, "%02X ", static_cast<unsigned char>(c));
    text += byte;
  }
  if (!text.empty()) text.pop_back();
  return text;
}

TEST(EntryTable, RecordIsWrittenFieldAfterFieldLittleEndian) {
  std::array<Entry, kEntryCount> entries{};
  entries[0] = Entry{0x11, 0x04030201, -2, 0x7F000000, 0x22, "AB", 0x0102, -1, 3, 4, 5, 6, 7, 8, 0xFF, 0x0A0B0C0D};
  const std::string bytes = encode_entry_table(entries);
  EXPECT_EQ(hex(std::string_view(bytes).substr(0, 36)),
            "11 01 02 03 04 FE FF FF FF 00 00 00 7F 22 02 00 41 42 02 01 FF FF 03 00 04 00 05 00 "
            "06 07 08 FF 0D 0C 0B 0A");
}

TEST(EntryTable, HoldsAll87RowsAndEmptyRowsTake34ZeroBytes) {
  std::array<Entry, kEntryCount> entries{};
  entries[kScenarioRow].text = "Dorvallo_Brisente";
  entries[kTrainRow].text = "47302";
  const std::string bytes = encode_entry_table(entries);
  ASSERT_EQ(bytes.size(), 87u * 34u + 17u + 5u);
  EXPECT_EQ(bytes.substr(0, 34), std::string(34, '\0'));  // row 0
  const size_t row85 = 85u * 34u;
  EXPECT_EQ(hex(std::string_view(bytes).substr(row85 + 14, 4)), "11 00 44 6F");
}

TEST(EntryTable, TextKeepsItsWindows1252BytesWithoutTerminator) {
  std::array<Entry, kEntryCount> entries{};
  entries[0].text = "90\xB0";  // the degree sign is one byte
  const std::string bytes = encode_entry_table(entries);
  EXPECT_EQ(hex(std::string_view(bytes).substr(14, 7)), "03 00 39 30 B0 00 00");
}

TEST(EntryTable, TextLongerThanASigned16BitLengthIsRefused) {
  std::array<Entry, kEntryCount> entries{};
  entries[80].text = std::string(kLongestText, 'x');
  const std::string bytes = encode_entry_table(entries);
  EXPECT_EQ(hex(std::string_view(bytes).substr(80 * 34 + 14, 2)), "FF 7F");
  entries[80].text.push_back('x');
  EXPECT_THROW(encode_entry_table(entries), std::length_error);
}

TEST(CellGrid, CellIStartsAtByte15TimesI) {
  std::vector<Cell> cells(3);
  cells[1] = Cell{.kind = 12, .p1 = 5121, .p2 = -2, .p3 = 0x0304, .p4 = 0x0506,
                  .timer = 101, .approach = 2, .tunnel = 3, .speed_limit = 28, .gradient = 112, .adhesion = 100};
  cells[2].adhesion = 0xAB;
  const std::string bytes = encode_cell_grid(cells);
  ASSERT_EQ(bytes.size(), 45u);
  EXPECT_EQ(bytes.substr(0, 15), std::string(15, '\0'));
  EXPECT_EQ(hex(std::string_view(bytes).substr(15, 15)), "0C 01 14 FE FF 04 03 06 05 65 02 03 1C 70 64");
  EXPECT_EQ(static_cast<unsigned char>(bytes[44]), 0xAB);
}

TEST(LineGeometry, TaggedValuesTake2Or4Or10Bytes) {
  Trace trace;
  trace.x = {TraceValue{TraceValue::kInt16, -2.0}, TraceValue{TraceValue::kDouble, 1.0}, TraceValue{}};
  trace.y = {TraceValue{TraceValue::kInt16, 1.0}, TraceValue{TraceValue::kDouble, -0.1}, TraceValue{}};
  const std::string bytes = encode_line_geometry(trace);
  EXPECT_EQ(hex(bytes),
            "02 00 FE FF "                     // x0: a 16-bit integer
            "05 00 00 00 00 00 00 00 F0 3F "   // x1: the double 1.0, low byte first
            "00 00 "                           // x2: empty
            "02 00 01 00 "                     // then the y values
            "05 00 9A 99 99 99 99 99 B9 BF "
            "00 00");
}

// A complete trace over E metres: seeds at 0 and 1, doubles from 2 to E - 2,
// the last two metres empty.
Trace complete_trace(int extended_length) {
  Trace trace;
  for (std::vector<TraceValue>* axis : {&trace.x, &trace.y}) {
    axis->resize(static_cast<size_t>(extended_length) + 1);
    (*axis)[0] = TraceValue{TraceValue::kInt16, 0.0};
    (*axis)[1] = TraceValue{TraceValue::kInt16, axis == &trace.y ? 1.0 : 0.0};
    for (int m = 2; m <= extended_length - 2; ++m) (*axis)[static_cast<size_t>(m)] = {TraceValue::kDouble, m * 0.5};
  }
  return trace;
}

TEST(LineGeometry, CompleteTraceTakes20EMinus36BytesWithYFromTheMiddle) {
  const int e = 100;
  const std::string bytes = encode_line_geometry(complete_trace(e));
  ASSERT_EQ(bytes.size(), static_cast<size_t>(20 * e - 36));
  EXPECT_EQ(hex(std::string_view(bytes).substr(0, 8)), "02 00 00 00 02 00 00 00");
  EXPECT_EQ(hex(std::string_view(bytes).substr(10 * e - 18, 8)), "02 00 00 00 02 00 01 00");
}

TEST(LineGeometry, IntegerOutside16BitsIsAFailure) {
  Trace trace;
  trace.x = {TraceValue{TraceValue::kInt16, 40000.0}};
  EXPECT_THROW(encode_line_geometry(trace), RunFailure);
}

class WriteScenarioFiles : public ::testing::Test, protected testing::RunInTempDir {
 protected:
  WriteScenarioFiles() : RunInTempDir("S", "1") {
    model.cells.resize(4);
    model.entries[kScenarioRow].text = "S";
    model.trace = complete_trace(10);
  }
};

TEST_F(WriteScenarioFiles, WritesTheThreeFilesWhole) {
  model.write_trace = 1;
  write_scenario_files(model, files);
  EXPECT_EQ(bytes_of(files.line_geometry), encode_line_geometry(model.trace));
  EXPECT_EQ(bytes_of(files.entry_table), encode_entry_table(model.entries));
  EXPECT_EQ(bytes_of(files.cell_grid), encode_cell_grid(model.cells));
}

TEST_F(WriteScenarioFiles, OlderLongerFilesLeaveNoTrailingBytes) {
  model.write_trace = 1;
  const std::string old(100000, 'o');
  for (const auto& path : {files.line_geometry, files.entry_table, files.cell_grid}) replace_file(path, old);
  write_scenario_files(model, files);
  EXPECT_EQ(bytes_of(files.line_geometry)->size(), 20u * 10u - 36u);
  EXPECT_EQ(bytes_of(files.entry_table)->size(), 87u * 34u + 1u);
  EXPECT_EQ(bytes_of(files.cell_grid)->size(), 4u * 15u);
}

TEST_F(WriteScenarioFiles, WithoutTraceAnOldGeometryFileIsLeftAlone) {
  replace_file(files.line_geometry, "old geometry");
  model.write_trace = 0;
  write_scenario_files(model, files);
  EXPECT_EQ(bytes_of(files.line_geometry), "old geometry");
  EXPECT_TRUE(bytes_of(files.entry_table));
  EXPECT_TRUE(bytes_of(files.cell_grid));
}

TEST_F(WriteScenarioFiles, ModelThatCannotBeEncodedWritesNoFile) {
  model.write_trace = 1;
  model.entries[80].text = std::string(kLongestText + 1, 'x');
  EXPECT_THROW(write_scenario_files(model, files), std::length_error);
  EXPECT_FALSE(bytes_of(files.line_geometry));
  EXPECT_FALSE(bytes_of(files.entry_table));
  EXPECT_FALSE(bytes_of(files.cell_grid));
}

}  // namespace
}  // namespace scenario
