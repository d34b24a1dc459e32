#include "format/cell_grid.h"

#include "format/cell_kinds.h"
#include "format/coding.h"
#include "format/decode_error.h"
#include "format/scenario_format.h"

namespace scenario {
namespace {

void put_cell(std::string& out, const Cell& cell) {
  put_u8(out, cell.kind);
  put_i16(out, cell.p1);
  put_i16(out, cell.p2);
  put_i16(out, cell.p3);
  put_i16(out, cell.p4);
  put_u8(out, cell.timer);
  put_u8(out, cell.approach);
  put_u8(out, cell.tunnel);
  put_u8(out, cell.speed_limit);
  put_u8(out, cell.gradient);
  put_u8(out, cell.adhesion);
}

Cell get_cell(ByteCursor& in, size_t index) {
  const size_t start = in.offset();
  Cell cell;
  cell.kind = get_u8(in);
  if (!cell_kind_name(cell.kind)) {
    throw DecodeError(start, "impossible value: cell " + std::to_string(index) + " has kind " +
                                 std::to_string(cell.kind) + ", which is no cell kind");
  }
  cell.p1 = get_i16(in);
  cell.p2 = get_i16(in);
  cell.p3 = get_i16(in);
  cell.p4 = get_i16(in);
  cell.timer = get_u8(in);
  cell.approach = get_u8(in);
  cell.tunnel = get_u8(in);
  cell.speed_limit = get_u8(in);
  cell.gradient = get_u8(in);
  cell.adhesion = get_u8(in);
  return cell;
}

}  // namespace

std::string encode_cell_grid(const std::vector<Cell>& cells) {
  std::string out;
  out.reserve(cells.size() * kCellBytes);
  for (const Cell& cell : cells) put_cell(out, cell);
  return out;
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
  for (size_t i = 0; i < whole; ++i) cells.push_back(get_cell(in, i));
  return cells;
}

}  // namespace scenario
