#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

#include "model/route_model.h"
#include "sources/builtin_sources.h"
#include "tool/commands.h"

namespace scenario::tool {
namespace {

// Writes the built-in line and train sources into dir, byte for byte as the
// package writes them: a starting point for a scenario of one's own.
int export_builtin(const std::filesystem::path& dir) {
  RouteModel model;
  model.scenario_name = kBuiltInScenario;
  model.train_number = kBuiltInTrain;
  try {
    dati_linea(model, dir);
    dati_treno(model, dir);
  } catch (const std::system_error& e) {
    std::cerr << "scenario export: " << e.what() << "\n";
    return kScenarioError;
  }
  return kSuccess;
}

}  // namespace

void add_export_command(CLI::App& app, int& status) {
  auto* command = app.add_subcommand("export", "Write the built-in line and train sources into a directory");
  auto dir = std::make_shared<std::string>(".");
  command->add_option("--dir", *dir, "Directory to write into")->capture_default_str()->check(CLI::ExistingDirectory);
  command->callback([&status, dir] { status = export_builtin(*dir); });
}

}  // namespace scenario::tool
