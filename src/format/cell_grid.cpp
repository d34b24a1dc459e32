#include "format/cell_grid.h"

#include "format/cell_kinds.h"
#include "format/coding.h"
#include "format/decode_error.h"
#include "format/scenario_format.h"

namespace scenario {
namespace {

// cell := kind: u8, p1: i16, p2: i16, p3: i16, p4: i16, timer: u8, approach: u8,
//         tunnel: u8, speed_limit: u8, gradient: u8, adhesion: u8
template <typename AnyCell, typename Visit>
void cell_fields(AnyCell& c, Visit visit) {
  each_field(visit, c.kind, c.p1, c.p2, c.p3, c.p4, c.timer, c.approach, c.tunnel, c.speed_limit, c.gradient,
             c.adhesion);
}

void put_cell(std::string& out, const Cell& cell) {
  cell_fields(cell, [&out](auto field) { put_fixed(out, field); });
}

// The grid holds whole cells, so a cell is read whole before its kind is judged.
Cell get_cell(ByteCursor& in, size_t index) {
  const size_t start = in.offset();
  Cell cell;
  cell_fields(cell, [&in](auto& field) { get_fixed(in, field); });
  if (!cell_kind_name(cell.kind)) {
    throw DecodeError(start, "impossible value: cell " + std::to_string(index) + " has kind " +
                                 std::to_string(cell.kind) + ", which is no cell kind");
  }
  return cell;
}

}  // namespace

std::string encode_cell_grid(const Cells& cells) {
  std::string out;
  out.reserve(cells.size() * kCellBytes);
  for (const Cell& cell : cells) put_cell(out, cell);
  return out;
}

Cells decode_cell_grid(std::string_view bytes) {
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
  Cells cells;
  cells.reserve(whole);
  for (size_t i = 0; i < whole; ++i) cells.push_back(get_cell(in, i));
  return cells;
}

}  // namespace scenario
