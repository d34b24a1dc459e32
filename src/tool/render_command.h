#pragma once

#include <string>

#include "render/route_drawing.h"

namespace scenario::tool {

// `scenario render [--dir DIR] -o FILE [--width W] [--height H] SCENARIO TRAIN`, as parsed.
struct RenderRequest {
  std::string dir = ".";
  std::string output;
  int width = kDefaultWidth;
  int height = kDefaultHeight;
  std::string scenario;
  std::string train;
};

// Draws the compiled scenario's plan and profile; returns the exit status.
int render(const RenderRequest& request);

}  // namespace scenario::tool
