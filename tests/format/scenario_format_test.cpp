#include "format/scenario_format.h"

#include <gtest/gtest.h>

#include "model/run_failure.h"

namespace scenario {
namespace {

TEST(GradientByte, EveryStorableGradientComesBackAndNoOtherIsStored) {
  for (int per_mille = -100; per_mille <= 155; ++per_mille) {
    EXPECT_EQ(decode_gradient(encode_gradient(per_mille)), per_mille);
  }
  EXPECT_EQ(encode_gradient(-3), 97);
  EXPECT_THROW(encode_gradient(-101), RunFailure);
  EXPECT_THROW(encode_gradient(156), RunFailure);
}

TEST(SpeedLimitByte, CountsStepsOf5KmhAndRoundsBetweenThem) {
  for (int kmh = 0; kmh <= 1275; kmh += 5) EXPECT_EQ(decode_speed_limit(encode_speed_limit(kmh)), kmh);
  EXPECT_EQ(encode_speed_limit(140), 28);
  EXPECT_EQ(encode_speed_limit(72), 14);  // 14.4 steps
  EXPECT_EQ(encode_speed_limit(73), 15);  // 14.6 steps
  EXPECT_THROW(encode_speed_limit(1280), RunFailure);
}

TEST(BoardSpeeds, PackTheSSideInTheHundredsAndTheDSideBelow) {
  const struct {
    int s;
    int d;
    int16_t stored;
  } cases[] = {{140, 140, 2828}, {100, 110, 2022}, {0, 0, 0}, {30, 0, 600}};
  for (const auto& c : cases) {
    EXPECT_EQ(encode_board_speeds(c.s, c.d), c.stored) << c.s << "/" << c.d;
    const BoardSides sides = decode_board_speeds(c.stored);
    EXPECT_EQ(sides.s, c.s);
    EXPECT_EQ(sides.d, c.d);
  }
  // One rounding of the whole sum: an s speed off the steps is not rounded on its own.
  EXPECT_EQ(encode_board_speeds(103, 12), 2062);
  EXPECT_THROW(encode_board_speeds(1640, 0), RunFailure);
}

TEST(BoardStripes, PackSTimes10PlusD) {
  EXPECT_EQ(encode_board_stripes(2, 1), 21);
  EXPECT_EQ(decode_board_stripes(21).s, 2);
  EXPECT_EQ(decode_board_stripes(21).d, 1);
  EXPECT_EQ(encode_board_stripes(65536 + 2, 1), 21);  // the counts keep their low 16 bits
  EXPECT_THROW(encode_board_stripes(4000, 0), RunFailure);
}

TEST(NumberingOffset, OnlyAFallingSystemStoresItsOffset100Higher) {
  EXPECT_EQ(encode_numbering_offset(kFallingNumbering, 35000), 35100);
  EXPECT_EQ(encode_numbering_offset(kGrowingNumbering, -30500), -30500);
  EXPECT_EQ(encode_numbering_offset(2, 7), 7);
  for (const int32_t direction : {kGrowingNumbering, kFallingNumbering, 2}) {
    for (const int32_t offset : {-30500, 0, 35000, std::numeric_limits<int32_t>::min()}) {
      EXPECT_EQ(decode_numbering_offset(direction, encode_numbering_offset(direction, offset)), offset);
    }
  }
  EXPECT_THROW(encode_numbering_offset(kFallingNumbering, std::numeric_limits<int32_t>::max()), RunFailure);
}

TEST(ProgressiveSystemRow, HoldsStartOffsetAndDirectionInLong1To3) {
  Entry row;
  put_progressive_system(row, ProgressiveSystem{34000, -30500, 0});
  EXPECT_EQ(row, (Entry{.long1 = 34000, .long2 = -30500, .long3 = 0, .text = ""}));
  const ProgressiveSystem back = get_progressive_system(row);
  EXPECT_EQ(back.start, 34000);
  EXPECT_EQ(back.offset, -30500);
  EXPECT_EQ(back.direction, 0);
}

}  // namespace
}  // namespace scenario
