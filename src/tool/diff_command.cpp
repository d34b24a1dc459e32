#include <iostream>
#include <string>
#include <vector>

#include "inspect/scenario_diff.h"
#include "inspect/scenario_file.h"
#include "tool/commands.h"
#include "tool/diagnostic.h"
#include "tool/diff_command.h"

namespace scenario::tool {

int diff(const DiffRequest& request) {
  try {
    const std::vector<std::string> lines = diff_scenario_files(request.a, request.b);
    for (const std::string& line : lines) std::cout << line << "\n";
    return lines.empty() ? kDiffSame : kDiffDifferent;
  } catch (const ScenarioFileError& e) {
    std::cerr << command_message("diff", e.what());
    return kDiffTrouble;
  }
}

}  // namespace scenario::tool
