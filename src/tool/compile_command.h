#pragma once

#include <string>

#include "tool/colour.h"

namespace scenario::tool {

// `scenario compile [--dir DIR] [--no-trace] [--keep-going] [--color=WHEN] SCENARIO TRAIN`, as parsed.
struct CompileRequest {
  std::string dir;  // as the author gave it; empty for the current directory
  bool no_trace = false;
  bool keep_going = false;
  ColourMode colour = ColourMode::kAuto;
  std::string scenario;
  std::string train;
};

// Compiles the scenario's sources into its binary files; returns the exit status.
int compile(const CompileRequest& request);

}  // namespace scenario::tool
