#pragma once

#include <string>

#include "sources/builtin_sources.h"

namespace scenario::tool {

// `scenario export [--dir DIR] [--name SCENARIO] [--train TRAIN] [--force]`, as parsed.
struct ExportRequest {
  std::string dir = ".";
  std::string scenario{kBuiltInScenario};
  std::string train{kBuiltInTrain};
  bool force = false;
};

// Writes the built-in sources; returns the exit status.
int export_builtin(const ExportRequest& request);

}  // namespace scenario::tool
