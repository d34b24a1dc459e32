#include <iostream>
#include <optional>
#include <string>

#include "tool/commands.h"
#include "tool/error_catalogue.h"
#include "tool/explain_command.h"

namespace scenario::tool {
namespace {

std::string known_numbers() {
  std::string list;
  for (const ErrorExplanation& entry : error_catalogue()) {
    list += (list.empty() ? "" : " ") + std::to_string(entry.number);
  }
  return list;
}

}  // namespace

// A number the compiler never reports is a mistake on the command line.
int explain(const ExplainRequest& request) {
  if (request.markdown) {
    std::cout << error_catalogue_markdown();
    return kSuccess;
  }
  const ErrorExplanation* entry = request.number ? explain_error(*request.number) : nullptr;
  if (entry == nullptr) {
    std::cerr << "scenario explain: "
              << (request.number ? "no error " + std::to_string(*request.number) : std::string("no error number"))
              << "; the numbers are " << known_numbers() << "\n";
    return kBadCommandLine;
  }
  std::cout << explanation_text(*entry);
  return kSuccess;
}

}  // namespace scenario::tool
