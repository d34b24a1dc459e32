#include "model/route_model.h"

#include <gtest/gtest.h>

#include "model/run_failure.h"

namespace scenario {
namespace {

TEST(ResetEntries, ClearsEveryFieldOfAll87Rows) {
  RouteModel model;
  for (Entry& entry : model.entries) {
    entry = Entry{7, 1, 2, 3, 4, "text", 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
  }
  reset_entries(model);
  ASSERT_EQ(model.entries.size(), 87u);
  for (const Entry& entry : model.entries) EXPECT_EQ(entry, Entry{});
}

TEST(FreeCell, OnlyNothingAndTunnelMarkersAreFree) {
  for (int kind = 0; kind <= 14; ++kind) {
    Cell cell;
    cell.kind = static_cast<uint8_t>(kind);
    EXPECT_EQ(is_free(cell), kind == kNothing || kind == kTunnelMarker) << kind;
  }
}

TEST(CellAt, IndexOutsideTheGridIsAFailure) {
  RouteModel model;
  EXPECT_THROW(cell_at(model, 0), RunFailure);  // no grid yet
  model.cells.resize(3);
  cell_at(model, 2).kind = kSignal;
  EXPECT_EQ(model.cells[2].kind, kSignal);
  EXPECT_THROW(cell_at(model, 3), RunFailure);
  EXPECT_THROW(cell_at(model, -1), RunFailure);
}

}  // namespace
}  // namespace scenario
