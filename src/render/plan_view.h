#pragma once

#include "model/route_model.h"
#include "render/canvas.h"
#include "render/route_facts.h"
#include "render/style.h"

namespace scenario {

// The line seen from above, turned so that the route runs from left to right
// like the profile below it (a north arrow shows the turn): the trace (the
// run-out beyond the end thinner), tunnels, signals, stations with their
// names, a scale bar and a legend. Without a trace the panel says so.
void draw_plan(Canvas& canvas, const Style& style, const Trace& trace, const RouteFacts& facts, const Rect& area);

// The height the plan needs at this width, at most `most`: a nearly straight
// route needs a thin band, and leaves the rest of the page to the profile.
double plan_height(const Style& style, const Trace& trace, const RouteFacts& facts, double width, double most);

}  // namespace scenario
