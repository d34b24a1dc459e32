#pragma once

#include <CLI/CLI.hpp>

namespace scenario::tool {

// Exit statuses of the tool.
inline constexpr int kSuccess = 0;
inline constexpr int kScenarioError = 1;  // an error in the scenario or its files
inline constexpr int kBadCommandLine = 2;
inline constexpr int kInternalError = 3;  // a fault of the program, whatever the scenario

// Each command registers itself on the application; when it runs, it leaves
// its exit status in `status`.
void add_export_command(CLI::App& app, int& status);
void add_compile_command(CLI::App& app, int& status);
void add_check_command(CLI::App& app, int& status);
void add_inspect_command(CLI::App& app, int& status);
void add_render_command(CLI::App& app, int& status);
void add_diff_command(CLI::App& app, int& status);
void add_explain_command(CLI::App& app, int& status);

}  // namespace scenario::tool
