#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <stdexcept>
#include <vector>

#include "compile/memorizza_percorso.h"
#include "io/run_lock.h"
#include "model/run_files.h"
#include "tool/commands.h"
#include "tool/diagnostic.h"
#include "tool/diagnostic_list.h"
#include "tool/run_names.h"

namespace scenario::tool {
namespace {

struct CompileRequest {
  std::string dir;  // as the author gave it; empty for the current directory
  bool no_trace = false;
  bool keep_going = false;
  std::string scenario;
  std::string train;
};

// Compiles DIR/SCENARIO_linea.txt and DIR/SCENARIO_TRAIN-.txt into the three
// binary files in DIR. The author's sources are never deleted. A reader error
// writes no binary file unless --keep-going asks for the partial model.
// Diagnostics only inform: the readers' warnings, and after a reader error
// every error a recovering reading finds, then the compiler's own.
int compile(const CompileRequest& request) {
  if (names_refused("compile", request.scenario, request.train)) return kBadCommandLine;
  RouteModel model;
  model.scenario_name = stored_name(request.scenario);
  model.train_number = stored_name(request.train);
  const CompileOptions options{.sources = SourcePolicy::kKeep, .write_despite_reader_error = request.keep_going};
  const int32_t j = request.no_trace ? kWithoutTrace : kWithTrace;
  const std::string dir = request.dir.empty() ? "." : request.dir;
  const RunFiles files = run_files(dir, request.scenario, request.train);
  std::vector<Diagnostic> compiler;
  try {
    const RunLock lock(dir);
    memorizza_percorso(model, j, files, options);
  } catch (const FatalError& e) {
    if (model.error_code == 0 || e.number != model.error_code) compiler.push_back(fatal_diagnostic(e));
  } catch (const std::length_error& e) {
    compiler.push_back(text_too_long(model, e.what()));
  } catch (const std::exception& e) {  // a file that cannot be written, a busy directory
    std::cerr << "scenario compile: " << e.what() << "\n";
    return kScenarioError;
  }
  std::vector<Diagnostic> list = std::move(model.notes.list);
  if (model.error_code != 0) {
    list = with_recorded(check_sources(files, model.scenario_name, model.train_number, Sealing::kNone),
                         recorded_diagnostic(model.error_code, model.error_site), files);
  }
  list.insert(list.end(), compiler.begin(), compiler.end());
  print_list(std::cerr, list, request.dir);
  return model.error_code != 0 || !compiler.empty() ? kScenarioError : kSuccess;
}

}  // namespace

void add_compile_command(CLI::App& app, int& status) {
  auto* command = app.add_subcommand("compile", "Compile a scenario's line and train sources into its binary files");
  auto request = std::make_shared<CompileRequest>();
  command->add_option("--dir", request->dir, "Directory of the sources and the binary files (default: the current one)")
      ->check(CLI::ExistingDirectory);
  command->add_flag("--no-trace", request->no_trace, "Build no plan trace and write no line geometry file");
  command->add_flag("--keep-going", request->keep_going,
                    "On a reader error, still write the files from the partial model (exit status stays 1)");
  command->add_option("SCENARIO", request->scenario, "Scenario name (reads SCENARIO_linea.txt)")->required();
  command->add_option("TRAIN", request->train, "Train number (reads SCENARIO_TRAIN-.txt)")->required();
  command->callback([&status, request] { status = compile(*request); });
}

}  // namespace scenario::tool
