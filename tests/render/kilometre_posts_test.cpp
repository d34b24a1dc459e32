#include "render/kilometre_posts.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

// The built-in systems as the compiler sorts them: falling from 35 km at the
// origin (its offset stored 100 higher), growing from 34000 m on with
// position 35000 reading 4.500 km; slot uno carries no system.
std::array<Entry, kEntryCount> builtin_systems() {
  std::array<Entry, kEntryCount> entries{};
  entries[kProgressiveTreRow] = Entry{.long1 = 34000, .long2 = -30500, .long3 = 0, .text = ""};
  entries[kProgressiveDueRow] = Entry{.long1 = 0, .long2 = 35100, .long3 = 1, .text = ""};
  return entries;
}

std::vector<std::pair<int32_t, int64_t>> posts_between(const std::array<Entry, kEntryCount>& entries, int32_t from,
                                                        int32_t to) {
  std::vector<std::pair<int32_t, int64_t>> posts;
  for (const auto& post : kilometre_posts(entries, from, to)) posts.emplace_back(post.position, post.kilometre);
  return posts;
}

TEST(KilometrePosts, FallingNumberingReadsItsOffsetLess100) {
  const std::vector<std::pair<int32_t, int64_t>> expected{{0, 35}, {1000, 34}, {2000, 33}};
  EXPECT_EQ(posts_between(builtin_systems(), 0, 2000), expected);
}

TEST(KilometrePosts, StandWhereTheReadingIsAWholeKilometre) {
  // 33999 m reads 1.001 on the falling system; from 34000 m the growing one
  // reads 3.500, and 35000 m reads 4.500.
  const std::vector<std::pair<int32_t, int64_t>> expected{{32000, 3}, {33000, 2}, {34500, 4}, {35500, 5}};
  EXPECT_EQ(posts_between(builtin_systems(), 31500, 36000), expected);
  EXPECT_EQ(numbering_changes(builtin_systems(), 0, 36000), std::vector<int32_t>{34000});
}

TEST(KilometrePosts, NoneWhereTheDirectionIsNeitherGrowingNorFalling) {
  std::array<Entry, kEntryCount> entries{};
  entries[kProgressiveUnoRow] = Entry{.long1 = 0, .long2 = 0, .long3 = 2, .text = ""};
  EXPECT_TRUE(kilometre_posts(entries, 0, 5000).empty());
}

TEST(KilometrePosts, ReadingsBelowZeroCountToo) {
  std::array<Entry, kEntryCount> entries{};
  entries[kProgressiveUnoRow] = Entry{.long1 = 0, .long2 = -1500, .long3 = 0, .text = ""};
  const std::vector<std::pair<int32_t, int64_t>> expected{{500, -1}, {1500, 0}};
  EXPECT_EQ(posts_between(entries, 0, 2000), expected);
}

}  // namespace
}  // namespace scenario
