#include "compile/post_pass.h"

#include <algorithm>
#include <array>
#include <optional>

namespace scenario {
namespace {

// Rule A: signals up to 20 cells (1000 m) before a warning board, never below
// cell 3, so that both candidates before a signal exist.
inline constexpr int64_t kBoardWindow = 20;
inline constexpr int64_t kLowestWindowSignal = 3;

// Rule B: three windows of cells before a slowdown start, nearest cell first;
// a window is used only when all its cells lie after cell 0.
inline constexpr std::array<std::array<int64_t, 3>, 3> kStartWindows{{{5, 6, 7}, {11, 12, 13}, {18, 19, 20}}};

// A slowdown slower than this gets a point every kWalkStep cells (400 m).
inline constexpr int16_t kWalkSpeedLimit = 110;
inline constexpr int kWalkStep = 8;

// How far past a slowdown's end the first signal is looked for.
inline constexpr int64_t kSignalSearch = 12;

// The grid and its last index. The pass reads the grid's own size rather than
// last_cell, so that no index it computes can leave the grid.
class Grid {
 public:
  explicit Grid(RouteModel& model) : cells_(model.cells) {}
  int64_t last() const { return static_cast<int64_t>(cells_.size()) - 1; }
  bool exists(int64_t i) const { return i >= 0 && i <= last(); }
  Cell& operator[](int64_t i) { return cells_[static_cast<size_t>(i)]; }
  uint8_t kind(int64_t i) const { return cells_[static_cast<size_t>(i)].kind; }
  // A cell past the end of the grid is never free: nothing is placed there.
  bool free_at(int64_t i) const { return exists(i) && is_free(cells_[static_cast<size_t>(i)]); }
  void place_point(int64_t i) {
    Cell& cell = (*this)[i];
    cell.kind = kReductionValue;
    cell.p1 = kAutoPointValue;
  }
  // Places a point in the first free cell of the list; returns it, if any.
  template <size_t N>
  std::optional<int64_t> place_first_free(const std::array<int64_t, N>& candidates) {
    for (const int64_t c : candidates) {
      if (free_at(c)) {
        place_point(c);
        return c;
      }
    }
    return std::nullopt;
  }

 private:
  Cells& cells_;
};

// Rule A: every signal in the window before a warning board at cell i gets a
// point in one of the two cells before it; when both are taken, a point
// already in one of them is capped at 180.
void serve_signals_before_board(Grid& grid, int64_t i) {
  for (int64_t k = 1; k <= kBoardWindow; ++k) {
    const int64_t d = i - k;
    if (d < kLowestWindowSignal) return;
    if (grid.kind(d) != kSignal) continue;
    if (grid.place_first_free(std::array{d - 1, d - 2})) continue;
    for (const int64_t c : {d - 1, d - 2}) {
      if (grid.kind(c) == kReductionValue) {
        grid[c].p1 = minimo(kAutoPointValue, grid[c].p1);
        break;
      }
    }
  }
}

// Rule B step 1: one point per window before the slowdown start at cell i.
void place_start_windows(Grid& grid, int64_t i) {
  for (const std::array<int64_t, 3>& window : kStartWindows) {
    if (i <= window.back()) continue;
    grid.place_first_free(std::array{i - window[0], i - window[1], i - window[2]});
  }
}

// Rule B step 2: from the start at cell i to the end cell, a point every 8
// cells counted from the cell that actually took the last one; after a failed
// placement the count runs past 8 and no further point is placed. Returns the
// end cell, or nothing when the walk met the end of the grid first.
std::optional<int64_t> walk_slowdown(Grid& grid, int64_t i) {
  int n = 0;
  int64_t k = i;
  while (k < grid.last()) {
    ++k;
    ++n;
    if (n == kWalkStep) {
      if (grid.free_at(k)) {
        grid.place_point(k);
        n = 0;
      } else if (grid.free_at(k - 1)) {
        grid.place_point(k - 1);
        n = 1;
      } else if (grid.free_at(k + 1)) {
        grid.place_point(k + 1);
        n = -1;
      }
    }
    if (grid.kind(k) == kSlowdownEnd) return k;
  }
  return std::nullopt;
}

// The end cell of the slowdown starting at cell i: the first kind 2 cell after
// it, the same cell a walk ends on (a point never lands on an end cell).
std::optional<int64_t> find_slowdown_end(const Grid& grid, int64_t i) {
  for (int64_t k = i + 1; k <= grid.last(); ++k) {
    if (grid.kind(k) == kSlowdownEnd) return k;
  }
  return std::nullopt;
}

// Rule B step 3: a point just before the first signal within 12 cells after
// the end cell k, or in the cell before that. The end cell holds no signal, so
// both candidates lie at or after cell 1; the search stops at the last cell.
void serve_signal_after_end(Grid& grid, int64_t k) {
  const int64_t limit = std::min(k + kSignalSearch, grid.last());
  for (int64_t m = k; m <= limit; ++m) {
    if (grid.kind(m) == kSignal) {
      grid.place_first_free(std::array{m - 1, m - 2});
      return;
    }
  }
}

// Rule B. The search after the end always starts from this slowdown's own end
// cell, whether or not the slowdown walks; a slowdown whose end cell is not on
// the grid has no signal after its end to serve.
void serve_slowdown(Grid& grid, int64_t i) {
  place_start_windows(grid, i);
  const std::optional<int64_t> end =
      grid[i].p1 < kWalkSpeedLimit ? walk_slowdown(grid, i) : find_slowdown_end(grid, i);
  if (end) serve_signal_after_end(grid, *end);
}

}  // namespace

int16_t minimo(int16_t x, int16_t y) { return x > y ? y : x; }

void post_pass(RouteModel& model) {
  Grid grid(model);
  // Cells changed ahead of i are examined like any other when their turn
  // comes; a placed point has kind 12 and starts no rule.
  for (int64_t i = 1; i <= grid.last() - 2; ++i) {
    if (grid.kind(i) == kWarningBoard) serve_signals_before_board(grid, i);
    if (grid.kind(i) == kSlowdownStart) serve_slowdown(grid, i);
  }
}

}  // namespace scenario
