#include "reader/slowdowns.h"

#include <string>

#include "model/numeric.h"
#include "reader/reader_context.h"
#include "reader/refuse.h"
#include "reader/signals.h"

namespace scenario {
namespace {

constexpr int32_t kWarningDistance = 1200;  // the warning board stands this far before the start
constexpr int32_t kNoBoardReach = 1500;     // slowdowns starting up to here have no warning board
constexpr int kPreWarningCells = 4;

std::string where(const SlowdownRecord& record) { return "slowdown at " + std::to_string(record.x) + " m"; }

std::string taken(const std::string& what, int64_t i, const Cell& cell) {
  return what + " " + cell_taken(i, cell);
}

// Checks before any write, so that a refused slowdown leaves the grid as it was.
Verdict refuses_cells(RouteModel& model, const SlowdownRecord& record, bool has_board, int64_t board,
                      int64_t start, int64_t end) {
  if (has_board && !is_free(cell_at(model, board))) {
    return refuse_taken(kWarningCellTaken, where(record) + ": " + taken("warning-board", board, cell_at(model, board)),
                        board);
  }
  if (!is_free(cell_at(model, start))) {
    return refuse_taken(kStartCellTaken, where(record) + ": " + taken("start", start, cell_at(model, start)), start);
  }
  const std::string extent = where(record) + ", " + std::to_string(record.l) + " m long: ";
  if (end >= static_cast<int64_t>(model.cells.size())) {
    return refuse(kPositionError, extent + "end cell " + std::to_string(end) + " lies beyond the last cell " +
                                      std::to_string(model.cells.size() - 1));
  }
  // The compile pass walks from every start to an end cell further on; a
  // slowdown shorter than one cell (or running backwards) would have none.
  if (end <= start) {
    return refuse(kEndCellTaken,
                  extent + "end cell " + std::to_string(end) + " does not lie past start cell " + std::to_string(start));
  }
  if (!is_free(cell_at(model, end))) {
    return refuse_taken(kEndCellTaken, extent + taken("end", end, cell_at(model, end)), end);
  }
  return {};
}

void mark_board(Cell& cell, uint8_t kind, const SlowdownRecord& record) {
  cell.kind = kind;
  if (record.d_v != 0) cell.p2 = low16(record.d_v);
}

// The four cells just before the warning board, numbered 1 next to it to 4.
Verdict mark_pre_warnings(RouteModel& model, const SlowdownRecord& record, int64_t h) {
  for (int j = 0; j < kPreWarningCells; ++j) {
    const Cell& cell = cell_at(model, h - j);
    if (!is_free(cell)) {
      return refuse_taken(kPreWarningCellTaken, where(record) + ": " + taken("pre-warning", h - j, cell), h - j);
    }
  }
  for (int j = 0; j < kPreWarningCells; ++j) {
    Cell& cell = cell_at(model, h - j);
    cell.kind = kPreWarning;
    cell.p1 = static_cast<int16_t>(j + 1);
    if (record.d_v != 0) cell.p2 = static_cast<int16_t>(j + 1);
  }
  return {};
}

}  // namespace

SlowdownCells slowdown_cells(const SlowdownRecord& record) {
  return {.start = signal_cell(record.x),
          .end = signal_cell(int64_t{record.x} + record.l),
          .has_board = record.x > kNoBoardReach,
          .board = signal_cell(int64_t{record.x} - kWarningDistance),
          .pre_warnings = record.f_ta != 0 && record.x > kNoBoardReach,
          .first_pre_warning =
              round_half_even(static_cast<double>(int64_t{record.x} - kWarningDistance) / kCellLength)};
}

std::vector<int64_t> SlowdownCells::taken() const {
  std::vector<int64_t> cells{start, end};
  if (has_board) cells.push_back(board);
  for (int j = 0; pre_warnings && j < kPreWarningCells; ++j) cells.push_back(first_pre_warning - j);
  return cells;
}

Verdict memo_rallentamento(RouteModel& model, const SlowdownRecord& record) {
  const auto [start, end, has_board, board, pre_warnings, first_pre_warning] = slowdown_cells(record);
  if (Verdict refused = refuses_cells(model, record, has_board, board, start, end)) return refused;

  mark_board(cell_at(model, end), kSlowdownEnd, record);
  mark_board(cell_at(model, start), kSlowdownStart, record);
  if (has_board) {
    Cell& warning = cell_at(model, board);
    mark_board(warning, kWarningBoard, record);
    warning.p1 = low16(record.v);
  }
  for (const int64_t i : {start, end}) {
    Cell& cell = cell_at(model, i);
    cell.p1 = low16(record.v);
    cell.p3 = low16(record.f_tt);
  }
  if (pre_warnings) return mark_pre_warnings(model, record, first_pre_warning);
  return {};
}

}  // namespace scenario
