#include "format/cell_grid.h"

#include <gtest/gtest.h>

#include "support/hex.h"

namespace scenario {
namespace {

using testing::from_hex;
using testing::to_hex;

TEST(CellGrid, CellIIsStoredAtByte15TimesI) {
  Cells cells(3);
  cells[1] = Cell{.kind = 12, .p1 = 5121, .p2 = -2, .p3 = 0x0304, .p4 = 0x0506,
                  .timer = 101, .approach = 2, .tunnel = 3, .speed_limit = 28, .gradient = 112, .adhesion = 100};
  cells[2].adhesion = 0xAB;
  const std::string bytes = from_hex(
      "00 0000 0000 0000 0000 00 00 00 00 00 00 "
      "0C 0114 FEFF 0403 0605 65 02 03 1C 70 64 "
      "00 0000 0000 0000 0000 00 00 00 00 00 AB");
  EXPECT_EQ(to_hex(encode_cell_grid(cells)), to_hex(bytes));
  EXPECT_EQ(decode_cell_grid(bytes), cells);
}

}  // namespace
}  // namespace scenario
