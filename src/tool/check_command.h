#pragma once

#include <string>

namespace scenario::tool {

// `scenario check [--dir DIR] [--strict] SCENARIO TRAIN`, as parsed.
struct CheckRequest {
  std::string dir;  // as the author gave it; empty for the current directory
  bool strict = false;
  std::string scenario;
  std::string train;
};

// Lists every error and warning of the scenario's sources; returns the exit status.
int check(const CheckRequest& request);

}  // namespace scenario::tool
