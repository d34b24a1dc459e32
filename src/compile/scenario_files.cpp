#include "compile/scenario_files.h"

#include <algorithm>
#include <bit>
#include <optional>
#include <stdexcept>

#include "io/replace_file.h"
#include "model/numeric.h"

namespace scenario {
namespace {

inline constexpr size_t kEntryFixedBytes = 34;
inline constexpr size_t kCellBytes = 15;
inline constexpr size_t kLongestTraceValue = 10;

// A file under construction, written through a cursor into room made ahead
// (one reservation covers a whole table of fixed-size records); every value
// goes low byte first.
class ByteBuffer {
 public:
  explicit ByteBuffer(size_t expected_bytes) : bytes_(expected_bytes, '\0') {}
  void u8(uint8_t value) { little_endian(value, 1); }
  void i16(int16_t value) { little_endian(static_cast<uint16_t>(value), 2); }
  void i32(int32_t value) { little_endian(static_cast<uint32_t>(value), 4); }
  void f64(double value) { little_endian(std::bit_cast<uint64_t>(value), 8); }
  void text(const std::string& value) {
    if (value.size() > kLongestText) {
      throw std::length_error("a text of " + std::to_string(value.size()) +
                              " bytes is longer than a record can hold (" + std::to_string(kLongestText) + ")");
    }
    i16(static_cast<int16_t>(value.size()));
    make_room(value.size());
    value.copy(bytes_.data() + size_, value.size());
    size_ += value.size();
  }
  std::string take() {
    bytes_.resize(size_);
    return std::move(bytes_);
  }

 private:
  void make_room(size_t count) {
    if (size_ + count > bytes_.size()) bytes_.resize(std::max(2 * bytes_.size(), size_ + count));
  }
  void little_endian(uint64_t value, size_t count) {
    make_room(count);
    char* out = bytes_.data() + size_;
    for (size_t i = 0; i < count; ++i) out[i] = static_cast<char>((value >> (8 * i)) & 0xFFu);
    size_ += count;
  }
  std::string bytes_;
  size_t size_ = 0;
};

// The tag, then the payload: none when empty, 2 bytes for an integer, 8 for a double.
void put_trace_value(ByteBuffer& out, const TraceValue& value) {
  out.i16(static_cast<int16_t>(value.tag));
  switch (value.tag) {
    case TraceValue::kEmpty:
      return;
    case TraceValue::kInt16:
      out.i16(narrow<int16_t>(round_half_even(value.value)));
      return;
    case TraceValue::kDouble:
      out.f64(value.value);
      return;
  }
  throw std::logic_error("trace value with unknown tag " + std::to_string(value.tag));
}

void put_entry(ByteBuffer& out, const Entry& entry) {
  out.u8(entry.kind);
  out.i32(entry.long1);
  out.i32(entry.long2);
  out.i32(entry.long3);
  out.u8(entry.flag);
  out.text(entry.text);
  out.i16(entry.short1);
  out.i16(entry.short2);
  out.i16(entry.short3);
  out.i16(entry.short4);
  out.i16(entry.short5);
  out.u8(entry.byte1);
  out.u8(entry.byte2);
  out.u8(entry.byte3);
  out.u8(entry.byte4);
  out.i32(entry.long4);
}

void put_cell(ByteBuffer& out, const Cell& cell) {
  out.u8(cell.kind);
  out.i16(cell.p1);
  out.i16(cell.p2);
  out.i16(cell.p3);
  out.i16(cell.p4);
  out.u8(cell.timer);
  out.u8(cell.approach);
  out.u8(cell.tunnel);
  out.u8(cell.speed_limit);
  out.u8(cell.gradient);
  out.u8(cell.adhesion);
}

}  // namespace

std::string encode_line_geometry(const Trace& trace) {
  ByteBuffer out((trace.x.size() + trace.y.size()) * kLongestTraceValue);
  for (const TraceValue& value : trace.x) put_trace_value(out, value);
  for (const TraceValue& value : trace.y) put_trace_value(out, value);
  return out.take();
}

std::string encode_entry_table(const std::array<Entry, kEntryCount>& entries) {
  ByteBuffer out(entries.size() * kEntryFixedBytes);
  for (const Entry& entry : entries) put_entry(out, entry);
  return out.take();
}

std::string encode_cell_grid(const std::vector<Cell>& cells) {
  ByteBuffer out(cells.size() * kCellBytes);
  for (const Cell& cell : cells) put_cell(out, cell);
  return out.take();
}

void write_scenario_files(const RouteModel& model, const RunFiles& files) {
  std::optional<std::string> geometry;
  if (model.write_trace != 0) geometry = encode_line_geometry(model.trace);
  const std::string entry_table = encode_entry_table(model.entries);
  const std::string cell_grid = encode_cell_grid(model.cells);
  if (geometry) replace_file(files.line_geometry, *geometry);
  replace_file(files.entry_table, entry_table);
  replace_file(files.cell_grid, cell_grid);
}

}  // namespace scenario
