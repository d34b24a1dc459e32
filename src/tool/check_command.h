#pragma once

#include <string>

#include "tool/colour.h"

namespace scenario::tool {

// `scenario check [--dir DIR] [--strict] [--watch] [--color=WHEN] SCENARIO TRAIN`, as parsed.
struct CheckRequest {
  std::string dir;  // as the author gave it; empty for the current directory
  bool strict = false;
  bool watch = false;  // check again after every save, until interrupted
  ColourMode colour = ColourMode::kAuto;
  std::string scenario;
  std::string train;
};

// Lists every error and warning of the scenario's sources; returns the exit status.
int check(const CheckRequest& request);

}  // namespace scenario::tool
