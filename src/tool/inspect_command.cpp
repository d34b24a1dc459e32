#include <iostream>
#include <string>
#include <vector>

#include "inspect/json_stream.h"
#include "inspect/scenario_file.h"
#include "tool/commands.h"
#include "tool/diagnostic.h"
#include "tool/inspect_command.h"

namespace scenario::tool {

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
      std::cerr << command_message("inspect", e.what());
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

}  // namespace scenario::tool
