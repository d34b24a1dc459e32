#include "tool/diagnostic_list.h"

#include <algorithm>
#include <iostream>
#include <utility>

#include "format/coding.h"
#include "format/entry_table.h"
#include "format/scenario_format.h"
#include "tool/diagnostic.h"

namespace scenario::tool {
namespace {

bool is_error(const Diagnostic& diagnostic) { return diagnostic.severity == Severity::kError; }

}  // namespace

ReadOptions tool_reading(const std::string& scenario, const std::string& train, int32_t write_trace) {
  ReadOptions options = read_options(scenario, train, write_trace);
  options.recover = true;
  return options;
}

DiagnosticList listed(ReadReport& report) {
  return {std::move(report.diagnostics), report.unlisted_errors, report.unlisted_warnings};
}

std::vector<Diagnostic> compiler_checks(RouteModel model, const ReadReport& report) {
  try {
    seal(model, report);
    encode_entry_table(model.entries);
  } catch (const FatalError& fatal) {
    return {fatal_diagnostic(fatal)};
  } catch (const TextTooLong& error) {
    return {text_too_long(model, report, error.what())};
  }
  return {};
}

Diagnostic fatal_diagnostic(const FatalError& fatal) {
  ErrorSite site = fatal.site;
  site.detail = fatal.what();
  return {Severity::kError, fatal.number, {}, site};
}

// The first text the entry table meets that is too long, named by the record
// that stored it, or as the scenario name or the train number.
Diagnostic text_too_long(const RouteModel& model, const ReadReport& report, const std::string& what) {
  Diagnostic diagnostic{Severity::kError, 0, {}, {}};
  for (int32_t row = 0; row < kEntryCount; ++row) {
    if (model.entries[static_cast<size_t>(row)].text.size() <= kLongestText) continue;
    diagnostic.site = report.origins.texts[static_cast<size_t>(row)];
    const char* name = row == kScenarioRow ? "the scenario name: " : row == kTrainRow ? "the train number: " : "";
    diagnostic.site.detail = name + what;
    break;
  }
  return diagnostic;
}

void report_internal_error(const std::string& command, const std::exception& fault) {
  std::cerr << "scenario " << command << ": internal error: " << fault.what()
            << "\nThis is a fault of the program, not of the scenario; please report it with the sources.\n";
}

ListCount print_list(std::ostream& out, const DiagnosticList& list, const std::string& dir, bool colour) {
  ListCount count;
  for (const Diagnostic& diagnostic : list.items) {
    if (!is_error(diagnostic)) {
      ++count.warnings;
      out << format_diagnostic(diagnostic, dir, colour);
    } else if (++count.errors <= kShownErrors) {
      out << format_diagnostic(diagnostic, dir, colour);
    }
  }
  count.errors += list.unlisted_errors;
  count.warnings += list.unlisted_warnings;
  if (count.errors > kShownErrors) out << "... and " << count.errors - kShownErrors << " more errors\n";
  if (list.unlisted_warnings > 0) out << "... and " << list.unlisted_warnings << " more warnings\n";
  return count;
}

std::string counted(size_t count, std::string_view noun) {
  if (count == 0) return "no " + std::string(noun);
  return std::to_string(count) + " " + std::string(noun) + (count == 1 ? "" : "s");
}

std::string summary_line(const ListCount& count) {
  std::string line;
  if (count.errors > 0) line = counted(count.errors, "error");
  if (count.warnings > 0) line += (line.empty() ? "" : ", ") + counted(count.warnings, "warning");
  return line.empty() ? line : line + "\n";
}

}  // namespace scenario::tool
