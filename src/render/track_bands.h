#pragma once

#include "render/canvas.h"
#include "render/profile_parts.h"
#include "render/route_facts.h"
#include "render/style.h"

namespace scenario {

// The signals along the axis, each with its position in metres, as its
// record gives it, reading upward above it.
void draw_signals_band(Canvas& canvas, const Style& style, const Axis& axis, const RouteFacts& facts, const Rect& band);

// The curves as blocks off a centre line (left-hand curves above it,
// right-hand ones below, each with its radius where it has room) and the
// tunnels as blocks on it.
void draw_track_band(Canvas& canvas, const Style& style, const Axis& axis, const RouteFacts& facts, const Rect& band);

}  // namespace scenario
