#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "compile/memorizza_percorso.h"
#include "model/run_files.h"
#include "reader/memorizza_dati.h"
#include "tool/check_command.h"
#include "tool/check_summary.h"
#include "tool/commands.h"
#include "tool/diagnostic_list.h"
#include "tool/run_names.h"

namespace scenario::tool {

// Reads both sources as compile does, writes nothing, and lists every error
// and warning found; exit 1 with an error (or, with --strict, a warning).
// The last line counts the errors, or, without one, says what was read.
int check(const CheckRequest& request) {
  if (names_refused("check", request.scenario, request.train)) return kBadCommandLine;
  const RunFiles files = run_files(request.dir.empty() ? "." : request.dir, request.scenario, request.train);
  DiagnosticList list;
  std::string route;
  try {
    ReadResult read = memorizza_dati(
        files, tool_reading(stored_name(request.scenario), stored_name(request.train), kWithTrace), SourcePolicy::kKeep);
    if (read.report.error_code() == 0) route = route_summary(read.scenario);
    list = checked_list(std::move(read.scenario), read.report);
  } catch (const ProgramFault& e) {
    report_internal_error("check", e);
    return kInternalError;
  }
  const ListCount count = print_list(std::cerr, list, request.dir, colours_wanted(request.colour));
  std::cerr << (count.errors > 0 ? summary_line(count) : checked_line(files, request.dir, route, count));
  const bool failed = count.errors > 0 || (request.strict && count.warnings > 0);
  return failed ? kScenarioError : kSuccess;
}

}  // namespace scenario::tool
