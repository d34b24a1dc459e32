#pragma once

#include <string>

namespace scenario::tool {

// `scenario new [--dir DIR] [--force] SCENARIO TRAIN`, as parsed.
struct NewRequest {
  std::string dir = ".";
  bool force = false;
  std::string scenario;
  std::string train;
};

// Writes the commented starting pair; returns the exit status.
int new_scenario(const NewRequest& request);

}  // namespace scenario::tool
