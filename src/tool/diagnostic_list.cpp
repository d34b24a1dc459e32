#include "tool/diagnostic_list.h"

#include <algorithm>
#include <iostream>
#include <utility>

#include "format/coding.h"
#include "format/entry_table.h"
#include "format/scenario_format.h"
#include "model/error_codes.h"
#include "tool/diagnostic.h"

namespace scenario::tool {
namespace {

bool is_error(const Diagnostic& diagnostic) { return diagnostic.severity == Severity::kError; }

// The lines a folded message names; past them, "...".
constexpr size_t kFoldedLinesNamed = 10;

// An error 15 is a position beyond the grid, and the row that set the route
// length is its note: the root cause that the errors of one row share.
const ErrorSite* route_length_root(const Diagnostic& diagnostic) {
  if (!is_error(diagnostic) || diagnostic.code != kPositionError || diagnostic.notes.empty()) return nullptr;
  return &diagnostic.notes.front();
}

bool same_place(const ErrorSite& a, const ErrorSite& b) { return a.file == b.file && a.line == b.line; }

// What the errors folded into the first stand for: how many, and where.
std::string folded_text(const std::vector<const ErrorSite*>& folded) {
  std::string lines;
  for (size_t i = 0; i < folded.size() && i < kFoldedLinesNamed; ++i) {
    lines += (i == 0 ? "" : ", ") + folded[i]->file + ":" + std::to_string(folded[i]->line);
  }
  if (folded.size() > kFoldedLinesNamed) lines += ", ...";
  return "; " + std::to_string(folded.size()) + " more " + (folded.size() == 1 ? "lies" : "lie") +
         " beyond the same route length, on " + lines;
}

// The errors 15 that one route length causes are one mistake: the first is
// listed, saying how many more it stands for and on which lines.
std::vector<Diagnostic> folded_beyond_route(std::vector<Diagnostic> items) {
  std::vector<Diagnostic> kept;
  std::vector<size_t> firsts;  // the kept errors 15, one for each route length row
  std::vector<std::vector<const ErrorSite*>> folded(items.size());  // by kept index
  for (Diagnostic& diagnostic : items) {
    const ErrorSite* root = route_length_root(diagnostic);
    const auto first = std::find_if(firsts.begin(), firsts.end(), [&](size_t at) {
      return root != nullptr && same_place(*root, *route_length_root(kept[at]));
    });
    if (first != firsts.end()) {
      folded[*first].push_back(&diagnostic.site);
      continue;
    }
    if (root != nullptr) firsts.push_back(kept.size());
    kept.push_back(std::move(diagnostic));
  }
  for (const size_t at : firsts) {
    if (!folded[at].empty()) kept[at].site.detail += folded_text(folded[at]);
  }
  return kept;
}

// How many warnings of each name a list holds, in the order the names first
// appear.
using NameCounts = std::vector<std::pair<std::string, size_t>>;

size_t& count_of(NameCounts& counts, const std::string& name) {
  const auto found =
      std::find_if(counts.begin(), counts.end(), [&name](const auto& entry) { return entry.first == name; });
  if (found != counts.end()) return found->second;
  return counts.emplace_back(name, 0).second;
}

// Counts a diagnostic; whether it is within what is printed.
bool counted_and_shown(const Diagnostic& diagnostic, ListCount& count, NameCounts& warnings) {
  if (is_error(diagnostic)) return ++count.errors <= kShownErrors;
  ++count.warnings;
  return ++count_of(warnings, diagnostic.name) <= kShownWarningsOfAName;
}

}  // namespace

ReadOptions tool_reading(const std::string& scenario, const std::string& train, int32_t write_trace) {
  ReadOptions options = read_options(scenario, train, write_trace);
  options.recover = true;
  return options;
}

DiagnosticList listed(ReadReport& report) {
  return {folded_beyond_route(std::move(report.diagnostics)), report.unlisted_errors, report.unlisted_warnings};
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

DiagnosticList checked_list(RouteModel scenario, ReadReport& report) {
  std::vector<Diagnostic> compiler;
  if (report.error_code() == 0) compiler = compiler_checks(std::move(scenario), report);
  DiagnosticList list = listed(report);
  list.items.insert(list.items.end(), compiler.begin(), compiler.end());
  return list;
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
  std::cerr << command_message(command, "internal error: " + std::string(fault.what()))
            << "This is a fault of the program, not of the scenario; please report it with the sources.\n";
}

ListCount print_list(std::ostream& out, const DiagnosticList& list, const std::string& dir, bool colour) {
  ListCount count;
  NameCounts warnings;
  for (const Diagnostic& diagnostic : list.items) {
    if (counted_and_shown(diagnostic, count, warnings)) out << format_diagnostic(diagnostic, dir, colour);
  }
  count.errors += list.unlisted_errors;
  count.warnings += list.unlisted_warnings;
  if (count.errors > kShownErrors) out << "... and " << count.errors - kShownErrors << " more errors\n";
  for (const auto& [name, listed] : warnings) {
    if (listed > kShownWarningsOfAName) {
      out << "... and " << listed - kShownWarningsOfAName << " more warnings [" << name << "]\n";
    }
  }
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
