#include "sources/line_table.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "support/temp_dir.h"

namespace scenario {
namespace {

using testing::bytes_of;
using testing::TempDir;

TEST(TableText, EveryLineEndsWithCrLfAndKeepsItsSpaces) {
  const std::string_view table[] = {"  lead", "ripetizione segnali 4 codici,    0    ,0", "", "trail  ",
                                    "II\xB0", kEndMarker};
  EXPECT_EQ(table_text(table),
            "  lead\r\nripetizione segnali 4 codici,    0    ,0\r\n\r\ntrail  \r\nII\xB0\r\n");
}

TEST(TableText, StopsAtTheEndMarkerAndNeverWritesIt) {
  const std::string_view table[] = {"a", kEndMarker, "never read"};
  EXPECT_EQ(table_text(table), "a\r\n");
  const std::string_view empty[] = {kEndMarker};
  EXPECT_EQ(table_text(empty), "");
}

TEST(TableText, TableWithoutItsMarkerIsAnError) {
  const std::string_view table[] = {"a", "b"};
  EXPECT_THROW(table_text(table), std::logic_error);
  // The marker must stand within the 1001 slots.
  std::vector<std::string_view> long_table(1001, "x");
  long_table.push_back(kEndMarker);
  EXPECT_THROW(table_text(long_table), std::logic_error);
  long_table.erase(long_table.begin());
  EXPECT_EQ(table_text(long_table).size(), 1000u * 3);
}

TEST(WriteTable, ReplacesAnOlderLongerFileByteForByte) {
  TempDir dir;
  const std::string_view longer[] = {"first line", "second line", "third line", kEndMarker};
  const std::string_view shorter[] = {"x", kEndMarker};
  write_table(dir / "t.txt", longer);
  write_table(dir / "t.txt", shorter);
  EXPECT_EQ(bytes_of(dir / "t.txt"), "x\r\n");
}

}  // namespace
}  // namespace scenario
