#pragma once

#include <functional>
#include <span>
#include <string>

namespace scenario::tool {

// Exit statuses of the tool.
inline constexpr int kSuccess = 0;
inline constexpr int kScenarioError = 1;  // an error in the scenario or its files
inline constexpr int kBadCommandLine = 2;
inline constexpr int kInternalError = 3;  // a fault of the program, whatever the scenario

// A command of a front end beside the tool's own (the language server),
// which takes no option: `scenario NAME`.
struct FrontEnd {
  std::string name;
  std::string description;
  std::string footer;
  std::function<int()> run;  // returns the exit status
};

struct RenderRequest;

// How `scenario render` draws once its command line is read: here, or by
// handing the command line to the program that holds the drawing.
using Renderer = std::function<int(const RenderRequest&)>;

// Parses the command line, runs the command it names and returns the exit
// status.
int run_command_line(int argc, char** argv, const Renderer& renderer, std::span<const FrontEnd> front_ends = {});

}  // namespace scenario::tool
