#pragma once

namespace scenario::tool {

// Exit statuses of the tool.
inline constexpr int kSuccess = 0;
inline constexpr int kScenarioError = 1;  // an error in the scenario or its files
inline constexpr int kBadCommandLine = 2;
inline constexpr int kInternalError = 3;  // a fault of the program, whatever the scenario

// Parses the command line, runs the command it names and returns the exit
// status.
int run_command_line(int argc, char** argv);

}  // namespace scenario::tool
