#include "model/numeric.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  const struct {
    double value;
    int64_t expected;
  } cases[] = {
      {2475.0 / 50 + 1, 50},  // 50.5
      {2525.0 / 50 + 1, 52},  // 51.5
      {0.5, 0},          {1.5, 2},   {2.5, 2},    {-0.5, 0}, {-1.5, -2},
      {-2.5, -2},        {2020.4, 2020}, {1.4, 1}, {1.6, 2},  {-1.6, -2},
  };
  for (const auto& c : cases) EXPECT_EQ(round_half_even(c.value), c.expected) << c.value;
}

TEST(RoundHalfEven, ValueBeyond64BitsIsAFailure) {
  EXPECT_THROW(round_half_even(1e300), RunFailure);
  EXPECT_THROW(round_half_even(std::nan("")), RunFailure);
}

TEST(Narrow, AcceptsTheWholeRangeOfEachWidth) {
  EXPECT_EQ(narrow<int16_t>(32767), 32767);
  EXPECT_EQ(narrow<int16_t>(-32768), -32768);
  EXPECT_EQ(narrow<uint8_t>(255), 255);
  EXPECT_EQ(narrow<uint8_t>(0), 0);
  EXPECT_EQ(narrow<int32_t>(2147483647), 2147483647);
  EXPECT_EQ(narrow<int32_t>(-2147483648LL), -2147483647 - 1);
}

TEST(Narrow, OnePastEachEndIsAFailure) {
  EXPECT_THROW(narrow<int16_t>(32768), RunFailure);
  EXPECT_THROW(narrow<int16_t>(-32769), RunFailure);
  EXPECT_THROW(narrow<uint8_t>(256), RunFailure);
  EXPECT_THROW(narrow<uint8_t>(-1), RunFailure);
  EXPECT_THROW(narrow<int32_t>(2147483648LL), RunFailure);
  EXPECT_THROW(narrow<int32_t>(-2147483649LL), RunFailure);
}

TEST(LowBits, KeepOnlyTheLowBitsOfTheValue) {
  EXPECT_EQ(low16(65536 + 42), 42);
  EXPECT_EQ(low16(40000), 40000 - 65536);
  EXPECT_EQ(low16(-1), -1);
  EXPECT_EQ(low8(256 + 81), 81);
  EXPECT_EQ(low8(-1), 255);
}

}  // namespace
}  // namespace scenario
