#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "compile/memorizza_percorso.h"
#include "format/coding.h"
#include "io/run_lock.h"
#include "model/run_files.h"
#include "reader/memorizza_dati.h"
#include "tool/commands.h"
#include "tool/compile_command.h"
#include "tool/diagnostic.h"
#include "tool/diagnostic_list.h"
#include "tool/run_names.h"

namespace scenario::tool {

// Compiles DIR/SCENARIO_linea.txt and DIR/SCENARIO_TRAIN-.txt into the three
// binary files in DIR. The author's sources are never deleted. A reader error
// writes no binary file unless --keep-going asks for the partial model.
// Diagnostics only inform: the one recovering reading's list, the list check
// prints, then the compiler's own errors, and a line that counts them.
int compile(const CompileRequest& request) {
  if (names_refused("compile", request.scenario, request.train)) return kBadCommandLine;
  const int32_t j = request.no_trace ? kWithoutTrace : kWithTrace;
  const std::string dir = request.dir.empty() ? "." : request.dir;
  const RunFiles files = run_files(dir, request.scenario, request.train);
  RouteModel model;
  ReadReport report;
  std::vector<Diagnostic> compiler;
  try {
    const RunLock lock(dir, kRunLockWait, is_run_file_name);
    ReadResult read = memorizza_dati(files, tool_reading(stored_name(request.scenario), stored_name(request.train), j),
                                     SourcePolicy::kKeep);
    model = std::move(read.scenario);
    report = std::move(read.report);
    seal_and_write(model, report, files, {.write_despite_reader_error = request.keep_going});
  } catch (const FatalError& e) {
    if (report.error_code() == 0 || e.number != report.error_code()) compiler.push_back(fatal_diagnostic(e));
  } catch (const TextTooLong& e) {
    compiler.push_back(text_too_long(model, report, e.what()));
  } catch (const ProgramFault& e) {
    report_internal_error("compile", e);
    return kInternalError;
  } catch (const std::exception& e) {  // a file that cannot be written, a busy directory
    std::cerr << command_message("compile", e.what());
    return kScenarioError;
  }
  const int32_t reader_error = report.error_code();
  DiagnosticList list = listed(report);
  list.items.insert(list.items.end(), compiler.begin(), compiler.end());
  std::cerr << summary_line(print_list(std::cerr, list, request.dir, colours_wanted(request.colour)));
  return reader_error != 0 || !compiler.empty() ? kScenarioError : kSuccess;
}

}  // namespace scenario::tool
