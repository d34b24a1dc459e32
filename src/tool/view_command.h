#pragma once

#include <cstdint>
#include <string>

namespace scenario::tool {

// `scenario view [--dir DIR] [-o FILE.html] [--watch [--port N]] SCENARIO TRAIN`, as parsed.
struct ViewRequest {
  std::string dir;     // as the author gave it; empty for the current directory
  std::string output;  // empty: the run's page, DIR/SCENARIO_TRAIN.html
  bool watch = false;
  uint16_t port = 0;   // with watch; 0 takes a free one
  std::string scenario;
  std::string train;
};

// Writes the page that shows the scenario read from its sources, with what
// check finds; with watch, writes it anew on every save of a source and
// serves it to a browser on the loopback interface until interrupted.
// Returns the exit status: 0 once the page is written, whatever it shows.
int view(const ViewRequest& request);

}  // namespace scenario::tool
