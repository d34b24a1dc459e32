#include "render/kilometre_posts.h"

#include <algorithm>
#include <optional>

#include "format/scenario_format.h"

namespace scenario {
namespace {

inline constexpr int64_t kKilometre = 1000;

// Rows in the order the sorted systems begin.
constexpr std::array<int, 3> kSystemRows = {kProgressiveUnoRow, kProgressiveDueRow, kProgressiveTreRow};

std::optional<int64_t> reading(const ProgressiveSystem& s, int64_t p) {
  const int64_t offset = decode_numbering_offset(s.direction, s.offset);
  if (s.direction == kGrowingNumbering) return p + offset;
  if (s.direction == kFallingNumbering) return offset - p;
  return std::nullopt;
}

// Floor division, for readings below zero.
int64_t floor_div(int64_t a, int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0) ? 1 : 0); }

bool carries_system(const ProgressiveSystem& s) { return s.start != 0 || s.offset != 0 || s.direction != 0; }

// The system in force at p; none before the first start.
std::optional<ProgressiveSystem> system_at(const std::array<Entry, kEntryCount>& entries, int64_t p) {
  std::optional<ProgressiveSystem> found;
  for (const int row : kSystemRows) {
    const ProgressiveSystem s = get_progressive_system(entries[static_cast<size_t>(row)]);
    if (carries_system(s) && s.start <= p) found = s;
  }
  return found;
}

}  // namespace

// Along one stretch numbered by one system the reading moves by one metre per
// metre, so its posts follow from the readings at its two ends.
std::vector<KilometrePost> kilometre_posts(const std::array<Entry, kEntryCount>& entries, int32_t from, int32_t to) {
  std::vector<int64_t> bounds{from};
  for (const int32_t change : numbering_changes(entries, from, to)) bounds.push_back(change);
  bounds.push_back(int64_t{to} + 1);
  std::vector<KilometrePost> posts;
  for (size_t i = 0; i + 1 < bounds.size(); ++i) {
    const int64_t begin = bounds[i];
    const int64_t end = bounds[i + 1] - 1;
    const std::optional<ProgressiveSystem> s = system_at(entries, begin);
    if (!s || !reading(*s, begin)) continue;
    const int64_t first = *reading(*s, begin);
    const int64_t last = *reading(*s, end);
    std::vector<KilometrePost> stretch;
    for (int64_t k = floor_div(std::min(first, last) + kKilometre - 1, kKilometre);
         k * kKilometre <= std::max(first, last); ++k) {
      const int64_t distance = first <= last ? k * kKilometre - first : first - k * kKilometre;
      stretch.push_back(KilometrePost{static_cast<int32_t>(begin + distance), k});
    }
    if (first > last) std::reverse(stretch.begin(), stretch.end());
    posts.insert(posts.end(), stretch.begin(), stretch.end());
  }
  return posts;
}

std::vector<int32_t> numbering_changes(const std::array<Entry, kEntryCount>& entries, int32_t from, int32_t to) {
  std::vector<int32_t> changes;
  for (const int row : kSystemRows) {
    const ProgressiveSystem s = get_progressive_system(entries[static_cast<size_t>(row)]);
    if (carries_system(s) && s.start > from && s.start <= to) changes.push_back(s.start);
  }
  std::sort(changes.begin(), changes.end());
  changes.erase(std::unique(changes.begin(), changes.end()), changes.end());
  return changes;
}

}  // namespace scenario
