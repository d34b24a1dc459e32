#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "tool/commands.h"
#include "tool/error_catalogue.h"

namespace scenario::tool {
namespace {

struct ExplainRequest {
  std::optional<int32_t> number;
  bool markdown = false;
};

std::string known_numbers() {
  std::string list;
  for (const ErrorExplanation& entry : error_catalogue()) {
    list += (list.empty() ? "" : " ") + std::to_string(entry.number);
  }
  return list;
}

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

}  // namespace

void add_explain_command(CLI::App& app, int& status) {
  auto* command = app.add_subcommand("explain", "Say what an error number means, its usual cause and its fix");
  command->footer("docs/errors.md holds the same for every number; --markdown prints that document.");
  auto request = std::make_shared<ExplainRequest>();
  command->add_option("NUMBER", request->number, "Error number, as a diagnostic shows it");
  command->add_flag("--markdown", request->markdown, "Print the whole catalogue as docs/errors.md holds it");
  command->callback([&status, request] { status = explain(*request); });
}

}  // namespace scenario::tool
