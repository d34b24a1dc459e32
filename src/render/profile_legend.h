#pragma once

#include "render/canvas.h"
#include "render/style.h"

namespace scenario {

// What the symbols and colours of the profile stand for, item after item in
// lines that wrap at the width given.

// The height of the legend at this width.
double profile_legend_height(Canvas& canvas, const Style& style, double width);

void draw_profile_legend(Canvas& canvas, const Style& style, const Rect& band);

}  // namespace scenario
