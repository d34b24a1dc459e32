#pragma once

#include <string>
#include <vector>

namespace scenario::tool {

// `scenario inspect [--all] FILE...`, as parsed.
struct InspectRequest {
  std::vector<std::string> files;
  bool all = false;
};

// Decodes the scenario files to JSON on stdout; returns the exit status.
int inspect(const InspectRequest& request);

}  // namespace scenario::tool
