#include "reader/read_sources.h"

#include <algorithm>
#include <climits>
#include <exception>
#include <utility>

#include "reader/field_reader.h"
#include "reader/line_source.h"
#include "reader/reader_context.h"
#include "reader/train_source.h"

namespace scenario {
namespace {

RouteModel fresh_model(const ReadOptions& options) {
  RouteModel model;
  model.scenario_name = options.scenario_name;
  model.train_number = options.train_number;
  model.write_trace = options.write_trace;
  reset_entries(model);
  model.entries[kScenarioRow].text = model.scenario_name;
  model.entries[kTrainRow].text = model.train_number;
  return model;
}

// Runs one half of the reading over its source; false when the source could
// not be read or a failure of the reading outside its records ended it. Any
// other exception is a fault of the program: it leaves the reading, named
// with the place the reading had come to.
template <typename Half>
bool read_guarded(ReaderContext& context, RouteModel& model, const SourceText& source, const std::string& file,
                  Half&& half) {
  if (source.trouble != SourceText::Trouble::kNone) {
    settle(context, model, Refusal{kRunFailure, file_site(file, source.reason)});
    return false;
  }
  FieldReader reader(source.text, file);
  try {
    return std::forward<Half>(half)(reader);
  } catch (const RunFailure& failure) {
    Refusal refusal = failure_refusal(reader, failure);
    // Said as the author sees it, rather than as the first read that failed.
    if (source.text.empty()) refusal.site.detail = "the file is empty";
    settle(context, model, std::move(refusal));
    return false;
  } catch (const std::exception& fault) {
    throw ProgramFault(std::string(fault.what()) + ", while reading " + file + " at line " +
                       std::to_string(reader.site().line));
  }
}

// Source order: the line source, then the train source, each by line; what
// concerns a whole source comes after its lines. A diagnostic met later may
// concern an earlier line (a value that fails only when the next record of
// its kind arrives, the progressive systems checked at the end).
void put_in_source_order(std::vector<Diagnostic>& list, const std::string& line_file) {
  const auto place = [&line_file](const Diagnostic& diagnostic) {
    const int line = diagnostic.site.line > 0 ? diagnostic.site.line : INT_MAX;
    return std::pair(diagnostic.site.file == line_file ? 0 : 1, line);
  };
  std::stable_sort(list.begin(), list.end(),
                   [&place](const Diagnostic& a, const Diagnostic& b) { return place(a) < place(b); });
}

ReadResult result_of(ReaderContext& context, RouteModel& model, const ReadOptions& options, bool train_reached) {
  ReadResult result;
  result.scenario = context.strict_scenario ? std::move(*context.strict_scenario) : std::move(model);
  ReadReport& report = result.report;
  report.unlisted_errors = context.log.unlisted_errors();
  report.unlisted_warnings = context.log.unlisted_warnings();
  report.diagnostics = context.log.take();
  put_in_source_order(report.diagnostics, options.line_file);
  report.recorded = std::move(context.recorded);
  report.origins = std::move(context.origins);
  report.train_reached = train_reached;
  report.records = std::move(context.records);
  return result;
}

}  // namespace

ReadOptions read_options(std::string scenario_name, std::string train_number, int32_t write_trace) {
  ReadOptions options;
  options.scenario_name = std::move(scenario_name);
  options.train_number = std::move(train_number);
  options.write_trace = write_trace;
  return options;
}

ReadResult read_sources(const SourceText& line, const SourceText& train, const ReadOptions& options) {
  ReaderContext context(options.recover);
  context.line_file = options.line_file;
  context.keep_records = options.keep_records;
  RouteModel model = fresh_model(options);
  if (line.trouble == SourceText::Trouble::kMissing) {
    settle(context, model, Refusal{kNoLineSource, file_site(options.line_file, line.reason)});
    return result_of(context, model, options, false);
  }
  const bool train_follows = read_guarded(context, model, line, options.line_file, [&](FieldReader& reader) {
    return read_line_source(model, reader, context) == LineOutcome::kTrainFollows;
  });
  // The strict reading reads the train source after a normal end of the
  // line source or its 15; a recovering one whenever there is a grid to
  // place the train's records on.
  const bool strict_reaches_train = train_follows && context.strict;
  if (train_follows || (context.recover && !model.cells.empty())) {
    read_guarded(context, model, train, options.train_file, [&](FieldReader& reader) {
      read_train_source(model, reader, context);
      return true;
    });
  }
  return result_of(context, model, options, strict_reaches_train);
}

}  // namespace scenario
