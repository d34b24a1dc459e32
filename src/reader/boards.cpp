#include "reader/boards.h"

#include "format/scenario_format.h"
#include "model/numeric.h"
#include "reader/reader_context.h"
#include "reader/refuse.h"

namespace scenario {
namespace {

std::string board_at(std::string_view kind, int32_t posizione) {
  return std::string(kind) + " at " + std::to_string(posizione) + " m: ";
}

}  // namespace

int64_t board_cell(int32_t posizione) { return round_half_even(posizione / double{kCellLength} + 1); }

Verdict memo_indicatori_v_max(RouteModel& model, const SpeedBoard& board) {
  const int64_t i = board_cell(board.posizione);
  Cell& cell = cell_at(model, i);
  if (!is_free(cell)) {
    return refuse_taken(kSpeedBoardTaken, board_at("speed board", board.posizione) + cell_taken(i, cell), i);
  }
  // The kind goes in first, then p1 to p4 in turn: a value too wide for its
  // field fails with the fields before it already written.
  cell.kind = kSpeedBoard;
  cell.p1 = encode_board_speeds(board.vas, board.vad);
  cell.p2 = encode_board_speeds(board.vbs, board.vbd);
  cell.p3 = encode_board_speeds(board.vcs, board.vcd);
  cell.p4 = encode_board_stripes(board.strisces, board.strisced);
  return {};
}

Verdict place_text_board(RouteModel& model, ReaderState& state, int32_t posizione, const std::string& text) {
  // The texts may fill rows 80 down to 1; an 81st board has no row (row 0
  // is never written) and ends the line source like a record beyond the grid.
  if (state.next_board_slot < kFirstStationRow) {
    return refuse_full(board_at("indication board", posizione) + "no row is left for its text (rows " +
                                      std::to_string(kBoardTop) + " to " + std::to_string(kFirstStationRow) +
                                      " are taken)");
  }
  const int64_t i = board_cell(posizione);
  Cell& cell = cell_at(model, i);
  if (!is_free(cell)) {
    return refuse_taken(kTextBoardTaken, board_at("indication board", posizione) + cell_taken(i, cell), i);
  }
  cell.kind = kTextBoard;
  cell.p1 = narrow<int16_t>(state.next_board_slot);
  model.entries.at(static_cast<size_t>(state.next_board_slot)).text = text;
  --state.next_board_slot;
  return {};
}

}  // namespace scenario
