#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "inspect/scenario_file.h"
#include "model/run_files.h"
#include "tool/commands.h"

namespace scenario::tool {
namespace {

struct InspectRequest {
  std::vector<std::string> files;
  bool all = false;
};

// Every file is decoded before anything is printed: stdout gets one whole
// JSON document (an array, one object per file in command-line order) or
// nothing, and every damaged file gets its line on stderr.
int inspect(const InspectRequest& request) {
  nlohmann::ordered_json documents = nlohmann::ordered_json::array();
  int status = kSuccess;
  for (const std::string& file : request.files) {
    try {
      documents.push_back(inspect_scenario_file(file, request.all));
    } catch (const ScenarioFileError& e) {
      std::cerr << "scenario inspect: " << e.what() << "\n";
      status = kScenarioError;
    }
  }
  if (status != kSuccess) return status;
  // File names need not be UTF-8; a stray byte is shown as U+FFFD rather than
  // failing the whole dump.
  std::cout << documents.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
  return kSuccess;
}

// The file's name says what it holds; a name that says nothing is a bad
// command line, like a missing file.
const CLI::Validator kScenarioFileName(
    [](const std::string& file) -> std::string {
      if (scenario_file_kind(file)) return {};
      return "cannot tell the format of " + file + " from its name: expected " + scenario_file_patterns();
    },
    "SCENARIO_FILE");

}  // namespace

void add_inspect_command(CLI::App& app, int& status) {
  auto* command = app.add_subcommand("inspect", "Decode binary scenario files to JSON on stdout");
  command->footer(
      "Files are told apart by name: SCENARIO_linea.dat (line geometry), SCENARIO_TRAIN.sim (entry table),\n"
      "SCENARIO_TRAIN.dat (cell grid). A damaged file is reported on stderr with the byte offset of the\n"
      "fault, and the status is 1.");
  auto request = std::make_shared<InspectRequest>();
  command->add_flag("--all", request->all,
                    "List every cell, not only those holding something, and every trace value, not only the summary");
  command->add_option("FILE", request->files, "Scenario files, told apart by name")
      ->required()
      ->check(CLI::ExistingFile)
      ->check(kScenarioFileName);
  command->callback([&status, request] { status = inspect(*request); });
}

}  // namespace scenario::tool
