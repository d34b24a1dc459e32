#include <iostream>
#include <string>
#include <vector>

#include "inspect/scenario_diff.h"
#include "inspect/scenario_file.h"
#include "tool/commands.h"
#include "tool/diff_command.h"

namespace scenario::tool {
namespace {

// As diff(1) answers: 0 the same, 1 different, 2 trouble.
constexpr int kSame = 0;
constexpr int kDifferent = 1;
constexpr int kTrouble = 2;

}  // namespace

int diff(const DiffRequest& request) {
  try {
    const std::vector<std::string> lines = diff_scenario_files(request.a, request.b);
    for (const std::string& line : lines) std::cout << line << "\n";
    return lines.empty() ? kSame : kDifferent;
  } catch (const ScenarioFileError& e) {
    std::cerr << "scenario diff: " << e.what() << "\n";
    return kTrouble;
  }
}

}  // namespace scenario::tool
