#include "tool/diagnostic_list.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "format/entry_table.h"
#include "format/scenario_format.h"
#include "tool/diagnostic.h"

namespace scenario::tool {
namespace {

// The readers' list, the error left in error_code last (a missing line
// source, a failure outside any record).
std::vector<Diagnostic> reader_list(RouteModel& model) {
  std::vector<Diagnostic> list = std::move(model.notes.list);
  if (model.error_code != 0) list.push_back(recorded_diagnostic(model.error_code, model.error_site));
  return list;
}

// Sealing and encoding in memory find what a compile would refuse after
// reading.
std::vector<Diagnostic> compiler_list(RouteModel& model) {
  try {
    seal(model);
    encode_entry_table(model.entries);
  } catch (const FatalError& fatal) {
    return {fatal_diagnostic(fatal)};
  } catch (const std::length_error& error) {
    return {text_too_long(model, error.what())};
  }
  return {};
}

bool is_error(const Diagnostic& diagnostic) { return diagnostic.severity == Severity::kError; }

bool same_fault(const Diagnostic& a, const Diagnostic& b) {
  return a.severity == b.severity && a.code == b.code && a.site.file == b.site.file && a.site.line == b.site.line &&
         a.site.column == b.site.column;
}

// Reading order: the line source, the train source, then what names neither.
std::pair<int, int> reading_place(const Diagnostic& diagnostic, const RunFiles& files) {
  const std::string& file = diagnostic.site.file;
  const int source = file == files.line_source.filename().string()    ? 0
                     : file == files.train_source.filename().string() ? 1
                                                                      : 2;
  return {source, diagnostic.site.line};
}

}  // namespace

std::vector<Diagnostic> check_sources(const RunFiles& files, const std::string& scenario, const std::string& train,
                                      Sealing sealing) {
  RouteModel model;
  model.scenario_name = scenario;
  model.train_number = train;
  model.write_trace = kWithTrace;
  model.notes.recover = true;
  reset_entries(model);
  memorizza_dati(model, files, SourcePolicy::kKeep);
  std::vector<Diagnostic> list = reader_list(model);
  if (sealing == Sealing::kCheck && std::none_of(list.begin(), list.end(), is_error)) {
    for (Diagnostic& diagnostic : compiler_list(model)) list.push_back(std::move(diagnostic));
  }
  return list;
}

std::vector<Diagnostic> with_recorded(std::vector<Diagnostic> list, const Diagnostic& recorded,
                                      const RunFiles& files) {
  const auto same = [&recorded](const Diagnostic& noted) { return same_fault(noted, recorded); };
  if (std::any_of(list.begin(), list.end(), same)) return list;
  const auto place = reading_place(recorded, files);
  const auto later = std::find_if(list.begin(), list.end(), [&](const Diagnostic& noted) {
    return reading_place(noted, files) > place;
  });
  list.insert(later, recorded);
  return list;
}

Diagnostic fatal_diagnostic(const FatalError& fatal) {
  ErrorSite site = fatal.site;
  site.detail = fatal.what();
  return {Severity::kError, fatal.number, {}, site};
}

// The first text the entry table meets that is too long, named by the record
// that stored it, or as the scenario name or the train number.
Diagnostic text_too_long(const RouteModel& model, const std::string& what) {
  Diagnostic diagnostic{Severity::kError, 0, {}, {}};
  for (int32_t row = 0; row < kEntryCount; ++row) {
    if (model.entries[static_cast<size_t>(row)].text.size() <= kLongestText) continue;
    const auto& texts = model.notes.texts;
    const auto origin =
        std::find_if(texts.rbegin(), texts.rend(), [row](const auto& text) { return text.first == row; });
    if (origin != texts.rend()) diagnostic.site = origin->second;
    const char* name = row == kScenarioRow ? "the scenario name: " : row == kTrainRow ? "the train number: " : "";
    diagnostic.site.detail = name + what;
    break;
  }
  return diagnostic;
}

ListCount print_list(std::ostream& out, const std::vector<Diagnostic>& list, const std::string& dir) {
  ListCount count;
  for (const Diagnostic& diagnostic : list) {
    if (!is_error(diagnostic)) {
      ++count.warnings;
      out << format_diagnostic(diagnostic, dir);
    } else if (++count.errors <= kShownErrors) {
      out << format_diagnostic(diagnostic, dir);
    }
  }
  if (count.errors > kShownErrors) out << "... and " << count.errors - kShownErrors << " more errors\n";
  return count;
}

}  // namespace scenario::tool
