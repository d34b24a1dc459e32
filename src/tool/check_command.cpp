#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "compile/memorizza_percorso.h"
#include "model/run_files.h"
#include "reader/memorizza_dati.h"
#include "tool/commands.h"
#include "tool/diagnostic_list.h"
#include "tool/run_names.h"

namespace scenario::tool {
namespace {

struct CheckRequest {
  std::string dir;  // as the author gave it; empty for the current directory
  bool strict = false;
  std::string scenario;
  std::string train;
};

// Reads both sources as compile does, writes nothing, and lists every error
// and warning found; exit 1 with an error (or, with --strict, a warning).
int check(const CheckRequest& request) {
  if (names_refused("check", request.scenario, request.train)) return kBadCommandLine;
  const RunFiles files = run_files(request.dir.empty() ? "." : request.dir, request.scenario, request.train);
  DiagnosticList list;
  try {
    ReadResult read = memorizza_dati(
        files, tool_reading(stored_name(request.scenario), stored_name(request.train), kWithTrace), SourcePolicy::kKeep);
    // The compiler's own checks run on a scenario read without error: only
    // then is it the one a compile would seal.
    const bool read_cleanly = read.report.error_code() == 0;
    const std::vector<Diagnostic> compiler =
        read_cleanly ? compiler_checks(std::move(read.scenario), read.report) : std::vector<Diagnostic>{};
    list = listed(read.report);
    list.items.insert(list.items.end(), compiler.begin(), compiler.end());
  } catch (const ProgramFault& e) {
    report_internal_error("check", e);
    return kInternalError;
  }
  const ListCount count = print_list(std::cerr, list, request.dir);
  const bool failed = count.errors > 0 || (request.strict && count.warnings > 0);
  return failed ? kScenarioError : kSuccess;
}

}  // namespace

void add_check_command(CLI::App& app, int& status) {
  auto* command =
      app.add_subcommand("check", "List every error and warning of a scenario's sources, writing nothing");
  command->footer(
      "After a refused record the reading goes on with the next record, so that independent errors are all "
      "listed; past " +
      std::to_string(kShownErrors) + " errors only their number is given. Exit status 1 with an error, 0 without.");
  auto request = std::make_shared<CheckRequest>();
  command->add_option("--dir", request->dir, "Directory of the sources (default: the current one)")
      ->check(CLI::ExistingDirectory);
  command->add_flag("--strict", request->strict, "Treat warnings as errors (exit status 1)");
  command->add_option("SCENARIO", request->scenario, "Scenario name (reads SCENARIO_linea.txt)")->required();
  command->add_option("TRAIN", request->train, "Train number (reads SCENARIO_TRAIN-.txt)")->required();
  command->callback([&status, request] { status = check(*request); });
}

}  // namespace scenario::tool
