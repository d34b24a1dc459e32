#pragma once

#include <string>

namespace scenario::tool {

// `scenario compile [--dir DIR] [--no-trace] [--keep-going] SCENARIO TRAIN`, as parsed.
struct CompileRequest {
  std::string dir;  // as the author gave it; empty for the current directory
  bool no_trace = false;
  bool keep_going = false;
  std::string scenario;
  std::string train;
};

// Compiles the scenario's sources into its binary files; returns the exit status.
int compile(const CompileRequest& request);

}  // namespace scenario::tool
