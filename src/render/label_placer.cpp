#include "render/label_placer.h"

#include <algorithm>

namespace scenario {

std::optional<size_t> LabelPlacer::place(const std::vector<Rect>& candidates) {
  for (size_t i = 0; i < candidates.size(); ++i) {
    const Rect& box = candidates[i];
    if (!bounds_.contains(box)) continue;
    const Rect spaced{box.x - gap_, box.y - gap_, box.w + 2 * gap_, box.h + 2 * gap_};
    const bool free = std::none_of(taken_.begin(), taken_.end(), [&](const Rect& t) { return t.overlaps(spaced); });
    if (!free) continue;
    taken_.push_back(box);
    return i;
  }
  return std::nullopt;
}

}  // namespace scenario
