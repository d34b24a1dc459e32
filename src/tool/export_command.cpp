#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "model/route_model.h"
#include "model/run_files.h"
#include "sources/builtin_sources.h"
#include "tool/commands.h"
#include "tool/export_command.h"
#include "tool/run_names.h"

namespace scenario::tool {
namespace {

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

}  // namespace

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

}  // namespace scenario::tool
