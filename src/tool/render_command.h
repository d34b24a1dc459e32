#pragma once

#include <optional>
#include <string>

#include "render/drawing_options.h"

namespace scenario::tool {

// `scenario render [--dir DIR] -o FILE [--width W] [--height H] [--from KM]
// [--to KM] [--paper a4|a3] SCENARIO TRAIN`, as parsed.
struct RenderRequest {
  std::string dir = ".";
  std::string output;
  int width = kDefaultWidth;
  int height = kDefaultHeight;
  std::optional<double> from_km;  // kilometres from the route origin
  std::optional<double> to_km;
  Paper paper = Paper::kA4;
  std::string scenario;
  std::string train;
};

// Draws the compiled scenario's plan and profile; returns the exit status.
// It lives in scenario-render, the one program that loads the drawing
// libraries.
int render(const RenderRequest& request);

}  // namespace scenario::tool
