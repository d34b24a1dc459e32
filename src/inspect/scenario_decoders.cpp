#include "inspect/scenario_decoders.h"

#include <cmath>
#include <string>

#include "inspect/byte_cursor.h"
#include "inspect/cell_kinds.h"
#include "inspect/decode_error.h"

namespace scenario {
namespace {

inline constexpr size_t kTagBytes = 2;
inline constexpr size_t kInt16Bytes = 2;
inline constexpr size_t kDoubleBytes = 8;
// An entry row: 16 bytes up to and with the text length, the text, 18 after it.
inline constexpr size_t kEntryHeadBytes = 16;
inline constexpr size_t kEntryTailBytes = 18;
inline constexpr size_t kCellBytes = 15;
// Cell 1 carries the reserved marks, so a grid has at least two cells.
inline constexpr size_t kFewestCells = kReservedCell + 1;

std::string value_name(size_t index) { return "tagged value " + std::to_string(index); }

TraceValue read_trace_value(ByteCursor& in, size_t index) {
  const size_t start = in.offset();
  in.require(kTagBytes, value_name(index));
  const uint16_t tag = in.u16();
  switch (tag) {
    case TraceValue::kEmpty: return TraceValue{};
    case TraceValue::kInt16:
      in.require(kInt16Bytes, value_name(index) + " (a 16-bit integer)");
      return TraceValue{TraceValue::kInt16, static_cast<double>(in.i16())};
    case TraceValue::kDouble: {
      in.require(kDoubleBytes, value_name(index) + " (a double)");
      const double value = in.f64();
      // The trace is computed from finite steps; a NaN or infinity would
      // come from a damaged file and would poison every measure of the plan.
      if (!std::isfinite(value)) {
        throw DecodeError(start + kTagBytes,
                          "impossible value: " + value_name(index) + " is a double that is not finite");
      }
      return TraceValue{TraceValue::kDouble, value};
    }
    default:
      throw DecodeError(start, "impossible value: " + value_name(index) + " has type " + std::to_string(tag) +
                                   " (types are 0 empty, 2 16-bit integer, 5 double)");
  }
}

Entry read_entry(ByteCursor& in, int row) {
  const std::string name = "entry row " + std::to_string(row);
  in.require(kEntryHeadBytes, name);
  Entry entry;
  entry.kind = in.u8();
  entry.long1 = in.i32();
  entry.long2 = in.i32();
  entry.long3 = in.i32();
  entry.flag = in.u8();
  const size_t length_at = in.offset();
  const int16_t length = in.i16();
  if (length < 0) {
    throw DecodeError(length_at, "impossible value: " + name + " has a text length of " + std::to_string(length));
  }
  const auto text_length = static_cast<size_t>(length);
  in.require(text_length + kEntryTailBytes, name + " with a text of " + std::to_string(length) + " bytes");
  entry.text = in.text(text_length);
  entry.short1 = in.i16();
  entry.short2 = in.i16();
  entry.short3 = in.i16();
  entry.short4 = in.i16();
  entry.short5 = in.i16();
  entry.byte1 = in.u8();
  entry.byte2 = in.u8();
  entry.byte3 = in.u8();
  entry.byte4 = in.u8();
  entry.long4 = in.i32();
  return entry;
}

Cell read_cell(ByteCursor& in, size_t index) {
  const size_t start = in.offset();
  Cell cell;
  cell.kind = in.u8();
  if (!cell_kind_name(cell.kind)) {
    throw DecodeError(start, "impossible value: cell " + std::to_string(index) + " has kind " +
                                 std::to_string(cell.kind) + ", which is no cell kind");
  }
  cell.p1 = in.i16();
  cell.p2 = in.i16();
  cell.p3 = in.i16();
  cell.p4 = in.i16();
  cell.timer = in.u8();
  cell.approach = in.u8();
  cell.tunnel = in.u8();
  cell.speed_limit = in.u8();
  cell.gradient = in.u8();
  cell.adhesion = in.u8();
  return cell;
}

}  // namespace

Trace decode_line_geometry(std::string_view bytes) {
  ByteCursor in(bytes);
  std::vector<TraceValue> values;
  size_t last_start = 0;
  while (!in.at_end()) {
    last_start = in.offset();
    values.push_back(read_trace_value(in, values.size()));
  }
  if (values.empty()) throw DecodeError(0, "truncated: the file holds no tagged value");
  // x and y come in two halves of one length; an odd count leaves the last
  // value without its partner.
  if (values.size() % 2 != 0) {
    throw DecodeError(last_start, "truncated or trailing value: the file holds an odd number (" +
                                      std::to_string(values.size()) +
                                      ") of tagged values, so x and y cannot have one length");
  }
  const auto half = static_cast<std::ptrdiff_t>(values.size() / 2);
  return Trace{.x = {values.begin(), values.begin() + half}, .y = {values.begin() + half, values.end()}};
}

std::array<Entry, kEntryCount> decode_entry_table(std::string_view bytes) {
  ByteCursor in(bytes);
  std::array<Entry, kEntryCount> entries;
  for (int row = 0; row < kEntryCount; ++row) entries[static_cast<size_t>(row)] = read_entry(in, row);
  if (!in.at_end()) {
    throw DecodeError(in.offset(), "trailing bytes: " + std::to_string(in.remaining()) + " bytes after the " +
                                       std::to_string(kEntryCount) + " entry rows");
  }
  return entries;
}

std::vector<Cell> decode_cell_grid(std::string_view bytes) {
  const size_t whole = bytes.size() / kCellBytes;
  const size_t rest = bytes.size() % kCellBytes;
  if (rest != 0) {
    throw DecodeError(whole * kCellBytes, "truncated or trailing bytes: the file ends " + std::to_string(rest) +
                                              " bytes into cell " + std::to_string(whole) + " (cells are " +
                                              std::to_string(kCellBytes) + " bytes)");
  }
  if (whole < kFewestCells) {
    throw DecodeError(bytes.size(),
                      "truncated: " + std::to_string(whole) + " cells; a grid has at least cells 0 and 1");
  }
  ByteCursor in(bytes);
  std::vector<Cell> cells;
  cells.reserve(whole);
  for (size_t i = 0; i < whole; ++i) cells.push_back(read_cell(in, i));
  return cells;
}

}  // namespace scenario
