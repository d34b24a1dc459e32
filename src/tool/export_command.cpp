#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "model/route_model.h"
#include "model/run_files.h"
#include "sources/builtin_sources.h"
#include "tool/commands.h"
#include "tool/run_names.h"

namespace scenario::tool {
namespace {

struct ExportRequest {
  std::string dir = ".";
  std::string scenario{kBuiltInScenario};
  std::string train{kBuiltInTrain};
  bool force = false;
};

// Something already stands at the path: a file, a directory, even a dangling
// link.
bool taken(const std::filesystem::path& path) {
  std::error_code ignored;
  return std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
}

// The sources an export would overwrite; both are looked at before either is
// written, so that a refusal writes nothing.
std::vector<std::filesystem::path> sources_in_the_way(const RunFiles& files) {
  std::vector<std::filesystem::path> in_the_way;
  for (const auto& path : {files.line_source, files.train_source}) {
    if (taken(path)) in_the_way.push_back(path);
  }
  return in_the_way;
}

// Writes the built-in line and train sources, byte for byte as the package
// writes them, under the requested names: a starting point for a scenario of
// one's own. An author's edited sources are overwritten only with --force.
int export_builtin(const ExportRequest& request) {
  if (names_refused("export", request.scenario, request.train)) return kBadCommandLine;
  const RunFiles files = run_files(request.dir, request.scenario, request.train);
  if (!request.force) {
    const std::vector<std::filesystem::path> in_the_way = sources_in_the_way(files);
    for (const auto& path : in_the_way) {
      std::cerr << "scenario export: " << path.string() << " already exists; --force overwrites it\n";
    }
    if (!in_the_way.empty()) return kScenarioError;
  }
  RouteModel model;
  model.scenario_name = request.scenario;
  model.train_number = request.train;
  try {
    std::filesystem::create_directories(request.dir);
    dati_linea(model, request.dir);
    dati_treno(model, request.dir);
  } catch (const std::system_error& e) {
    std::cerr << "scenario export: " << e.what() << "\n";
    return kScenarioError;
  }
  return kSuccess;
}

}  // namespace

void add_export_command(CLI::App& app, int& status) {
  auto* command = app.add_subcommand("export", "Write the built-in line and train sources into a directory");
  command->footer(
      "Writes DIR/SCENARIO_linea.txt and DIR/SCENARIO_NUMBER-.txt, creating DIR and its parents. The texts\n"
      "are the built-in ones whatever the names. An existing source is left alone (status 1) unless --force\n"
      "is given. The format of both sources is written down in docs/source-format.md.");
  auto request = std::make_shared<ExportRequest>();
  command->add_option("--dir", request->dir, "Directory to write into")->capture_default_str();
  command->add_option("--name", request->scenario, "Scenario name of the files")->capture_default_str();
  command->add_option("--train", request->train, "Train number of the train source")->capture_default_str();
  command->add_flag("--force", request->force, "Overwrite sources that already exist");
  command->callback([&status, request] { status = export_builtin(*request); });
}

}  // namespace scenario::tool
