#pragma once

#include <array>

#include "model/route_model.h"
#include "render/canvas.h"
#include "render/route_facts.h"
#include "render/style.h"

namespace scenario {

// The route stretched out along its length, origin on the left: station
// names on top, the height the gradients give with the gradient of each
// stretch in per mille, the line speed limit as steps with the speed boards
// and slowdowns, the distance from the origin and the kilometre posts of the
// progressive systems. Station lines run across all of it.
void draw_profile(Canvas& canvas, const Style& style, const std::array<Entry, kEntryCount>& entries,
                  const RouteFacts& facts, const Rect& area);

}  // namespace scenario
