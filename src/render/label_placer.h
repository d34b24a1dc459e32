#pragma once

#include <optional>
#include <vector>

#include "render/canvas.h"

namespace scenario {

// Greedy placement of labels that must not cover one another: each label
// offers its candidate boxes in order of preference and takes the first one
// that stays inside the bounds and is free. A label with no free box is left
// out rather than drawn over another.
class LabelPlacer {
 public:
  // Labels keep `gap` pixels away from everything placed or blocked.
  explicit LabelPlacer(const Rect& bounds, double gap = 0.0) : bounds_(bounds), gap_(gap) {}
  // The index of the candidate taken, if any.
  std::optional<size_t> place(const std::vector<Rect>& candidates);
  // Reserves a box that no label may cover (a marker, a legend).
  void block(const Rect& box) { taken_.push_back(box); }

 private:
  Rect bounds_;
  double gap_;
  std::vector<Rect> taken_;
};

}  // namespace scenario
