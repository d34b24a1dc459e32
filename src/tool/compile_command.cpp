#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <stdexcept>
#include <vector>

#include "compile/memorizza_percorso.h"
#include "format/scenario_format.h"
#include "io/run_lock.h"
#include "model/run_files.h"
#include "tool/commands.h"
#include "tool/diagnostic.h"

namespace scenario::tool {
namespace {

struct CompileRequest {
  std::string dir;  // as the author gave it; empty for the current directory
  bool no_trace = false;
  bool keep_going = false;
  std::string scenario;
  std::string train;
};

// The compiler's own error, after the readers': a reserved place taken.
Diagnostic fatal_diagnostic(const FatalError& fatal) {
  ErrorSite site = fatal.site;
  site.detail = fatal.what();
  return {Severity::kError, fatal.number, {}, site};
}

// A text too long to write: the first one the entry table meets, named by
// the record that stored it, or as the scenario name or train number.
Diagnostic text_too_long(const RouteModel& model, const std::string& what) {
  Diagnostic diagnostic{Severity::kError, 0, {}, {}};
  for (int32_t row = 0; row < kEntryCount; ++row) {
    if (model.entries[static_cast<size_t>(row)].text.size() <= kLongestText) continue;
    const auto& texts = model.notes.texts;
    const auto origin = std::find_if(texts.rbegin(), texts.rend(), [row](const auto& text) { return text.first == row; });
    if (origin != texts.rend()) diagnostic.site = origin->second;
    const char* name = row == kScenarioRow ? "the scenario name: " : row == kTrainRow ? "the train number: " : "";
    diagnostic.site.detail = name + what;
    break;
  }
  return diagnostic;
}

// Compiles DIR/SCENARIO_linea.txt and DIR/SCENARIO_TRAIN-.txt into the three
// binary files in DIR. The author's sources are never deleted. A reader error
// writes no binary file unless --keep-going asks for the partial model. The
// reader's error comes first, then the compiler's.
int compile(const CompileRequest& request) {
  RouteModel model;
  model.scenario_name = request.scenario;
  model.train_number = request.train;
  const CompileOptions options{.sources = SourcePolicy::kKeep, .write_despite_reader_error = request.keep_going};
  const int32_t j = request.no_trace ? kWithoutTrace : kWithTrace;
  std::vector<Diagnostic> compiler;
  try {
    const std::string dir = request.dir.empty() ? "." : request.dir;
    const RunLock lock(dir);
    memorizza_percorso(model, j, run_files(dir, request.scenario, request.train), options);
  } catch (const FatalError& e) {
    if (model.error_code == 0 || e.number != model.error_code) compiler.push_back(fatal_diagnostic(e));
  } catch (const std::length_error& e) {
    compiler.push_back(text_too_long(model, e.what()));
  } catch (const std::exception& e) {  // a file that cannot be written, a busy directory
    std::cerr << "scenario compile: " << e.what() << "\n";
    return kScenarioError;
  }
  if (model.error_code != 0) {
    std::cerr << format_diagnostic(recorded_diagnostic(model.error_code, model.error_site), request.dir);
  }
  for (const Diagnostic& diagnostic : compiler) std::cerr << format_diagnostic(diagnostic, request.dir);
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
