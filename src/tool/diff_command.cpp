#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "inspect/scenario_diff.h"
#include "inspect/scenario_file.h"
#include "tool/commands.h"

namespace scenario::tool {
namespace {

// As diff(1) answers: 0 the same, 1 different, 2 trouble.
constexpr int kSame = 0;
constexpr int kDifferent = 1;
constexpr int kTrouble = 2;

struct DiffRequest {
  std::string a;
  std::string b;
};

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

}  // namespace

void add_diff_command(CLI::App& app, int& status) {
  auto* command = app.add_subcommand("diff", "Compare two binary scenario files of the same kind");
  command->footer(
      "Prints each difference on a line of its own, in metres, km/h, station names and times of day\n"
      "(a stretch of cells with the same change is one line). Exit status 0 when the files are the same,\n"
      "1 when they differ, 2 when one cannot be read or the two are of different kinds.");
  auto request = std::make_shared<DiffRequest>();
  command->add_option("A", request->a, "First scenario file")->required();
  command->add_option("B", request->b, "Second scenario file, of the same kind")->required();
  command->callback([&status, request] { status = diff(*request); });
}

}  // namespace scenario::tool
