#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "inspect/json_stream.h"
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
// nothing, and every damaged file gets its line on stderr. The document is
// written element by element from the decoded files, never held whole: it
// is many times larger than they are.
int inspect(const InspectRequest& request) {
  std::vector<DecodedFile> files;
  int status = kSuccess;
  for (const std::string& file : request.files) {
    try {
      files.push_back(decode_scenario_file(file));
    } catch (const ScenarioFileError& e) {
      std::cerr << "scenario inspect: " << e.what() << "\n";
      status = kScenarioError;
    }
  }
  if (status != kSuccess) return status;
  std::vector<JsonMembers> documents;
  for (const DecodedFile& file : files) documents.push_back(inspect_members(file, request.all));
  write_json_array(std::cout, documents);
  std::cout << "\n";
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
      ->check(kScenarioFileName);
  command->callback([&status, request] { status = inspect(*request); });
}

}  // namespace scenario::tool
