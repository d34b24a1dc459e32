#include "tool/view_command.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "compile/memorizza_percorso.h"
#include "compile/post_pass.h"
#include "io/replace_file.h"
#include "model/run_files.h"
#include "reader/memorizza_dati.h"
#include "tool/commands.h"
#include "tool/diagnostic.h"
#include "tool/diagnostic_list.h"
#include "tool/run_names.h"
#include "view/live_page.h"
#include "view/page.h"
#include "view/page_data.h"

namespace scenario::tool {
namespace {

// What a page holds besides itself, for the line the command ends with.
struct PageMade {
  std::string page;
  ListCount count;
};

// check's list, each message as check prints it, and a last line for what
// it only counted.
std::vector<view::PageDiagnostic> page_diagnostics(const DiagnosticList& list, const std::string& dir,
                                                   ListCount& count) {
  std::vector<view::PageDiagnostic> shown;
  for (const Diagnostic& diagnostic : list.items) {
    ++(diagnostic.severity == Severity::kError ? count.errors : count.warnings);
    shown.push_back({diagnostic.severity, diagnostic.site.file, diagnostic.site.line,
                     format_diagnostic(diagnostic, dir)});
  }
  count.errors += list.unlisted_errors;
  count.warnings += list.unlisted_warnings;
  if (list.unlisted_errors + list.unlisted_warnings > 0) {
    shown.push_back({Severity::kWarning, {}, 0,
                     "... and " + counted(list.unlisted_errors, "more error") + " and " +
                         counted(list.unlisted_warnings, "more warning") + " not listed\n"});
  }
  return shown;
}

// Reads the sources as check does, keeping each record, and completes a
// copy of the scenario as compile would.
PageMade make_page(const RunFiles& files, const ViewRequest& request, uint64_t version) {
  ReadOptions options = tool_reading(stored_name(request.scenario), stored_name(request.train), kWithTrace);
  options.keep_records = true;
  ReadResult read = memorizza_dati(files, options, SourcePolicy::kKeep);
  RouteModel completed = read.scenario;
  post_pass(completed);
  const bool read_cleanly = read.report.error_code() == 0;
  const std::vector<Diagnostic> compiler =
      read_cleanly ? compiler_checks(read.scenario, read.report) : std::vector<Diagnostic>{};
  DiagnosticList list = listed(read.report);
  list.items.insert(list.items.end(), compiler.begin(), compiler.end());
  PageMade made;
  view::PageInput input{request.scenario + " " + request.train, read.scenario, completed, read.report,
                        page_diagnostics(list, request.dir, made.count)};
  nlohmann::ordered_json data = view::page_data(input);
  data["version"] = version;
  made.page = view::page_html(data);
  return made;
}

std::string written_line(const std::filesystem::path& output, const ListCount& count) {
  const std::string counts = count.errors + count.warnings == 0 ? "no error, no warning"
                                                                 : counted(count.errors, "error") + ", " +
                                                                       counted(count.warnings, "warning");
  return "scenario view: wrote " + output.string() + " (" + counts + ")\n";
}

}  // namespace

int view(const ViewRequest& request) {
  if (names_refused("view", request.scenario, request.train)) return kBadCommandLine;
  const std::filesystem::path dir = request.dir.empty() ? "." : request.dir;
  const RunFiles files = run_files(dir, request.scenario, request.train);
  const std::filesystem::path output = request.output.empty() ? files.view_page : std::filesystem::path(request.output);
  const auto write_page = [&](uint64_t version) {
    PageMade made = make_page(files, request, version);
    replace_file(output, made.page);
    std::cerr << written_line(output, made.count);
    return std::move(made.page);
  };
  try {
    if (!request.watch) {
      write_page(0);
      return kSuccess;
    }
    view::PageServer server(request.port);
    SourceWatch watch(dir, {files.line_source.filename().string(), files.train_source.filename().string()});
    std::cerr << "scenario view: serving http://127.0.0.1:" << server.port()
              << "/ ; the page is made anew on every save of a source and reloads itself; Ctrl-C ends\n";
    view::serve_live(server, watch, write_page);
  } catch (const ProgramFault& fault) {
    report_internal_error("view", fault);
    return kInternalError;
  } catch (const std::system_error& trouble) {
    std::cerr << "scenario view: " << trouble.what() << "\n";
    return kScenarioError;
  }
}

}  // namespace scenario::tool
