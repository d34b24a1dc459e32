#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/diagnostic.h"
#include "model/error_codes.h"
#include "model/route_model.h"
#include "model/run_failure.h"
#include "reader/diagnostic_log.h"
#include "reader/field_reader.h"
#include "reader/read_sources.h"
#include "reader/reader_state.h"

namespace scenario {

struct KeywordTest;

// Which record kinds of a table of keyword tests the latest record token
// started, bit i for the table's test i. A source repeats one keyword record
// after record (a speed limit every 50 m), and the outcome depends on the
// token and the table alone: it is found once for a run of equal tokens.
struct StartedKinds {
  std::string token;
  const KeywordTest* table = nullptr;
  uint64_t kinds = 0;
};

// How the reading goes on after a record or a step.
enum class Flow {
  kNext,  // on to the next record
  kEnd,   // the records end here as at the end of the source: the end processing still runs
  kStop,  // refused: a strict reading stops at once
};

// A record or a step refused: its number, and where and why.
struct Refusal {
  ErrorCode code;
  ErrorSite site;
  std::vector<ErrorSite> notes{};  // the places the refusal depends on
};

// How a strict reading goes on after a refusal: a 15 ends the records as the
// end of the source would, any other number stops the reading.
inline Flow flow_after(ErrorCode code) { return code == kPositionError ? Flow::kEnd : Flow::kStop; }

// What lives only while one reading of the two sources runs: the state of
// the record families, the latest token, the diagnostics and the error the
// reading records.
//
// A recovering reading reads on where the strict one would stop, and still
// knows the strict reading's outcome: while strict holds, the strict reading
// would be reading here too, so its refusals are the recorded error; when
// strict ends, the scenario is kept as the strict reading leaves it.
struct ReaderContext {
  explicit ReaderContext(bool recovering) : recover(recovering) {}

  const bool recover;
  ReaderState state;
  // The latest token, a view of the source text being read (which outlives
  // the reading): comment tokens are most of a source at its cap, and none
  // is copied.
  std::string_view text_buffer;
  StartedKinds started;
  DiagnosticLog log;
  SourceOrigins origins;
  bool strict = true;
  std::optional<Diagnostic> recorded;
  std::optional<RouteModel> strict_scenario;
  std::string line_file;  // the line source's name, for notes the train source's records point to
  bool keep_records = false;
  std::vector<KeptRecord> records;
};

// The place of a field of the reader's source: the file name, the line and
// column, the excerpt of the line a diagnostic shows, and what is said there.
ErrorSite site_of(const FieldReader& reader, FieldSite site, std::string detail = {});

// A refusal at the field at of the reader's source.
Refusal refusal_at(const FieldReader& reader, FieldSite at, ErrorCode code, std::string detail);

// A failure of the reading as error 25: at the field it names, else at the
// field being read.
Refusal failure_refusal(const FieldReader& reader, const RunFailure& failure);

// Notes a refusal and returns how the strict reading goes on: it ends the
// records at 15 and stops at anything else. Where the strict reading stops,
// a recovering one keeps the scenario as it stands.
Flow settle(ReaderContext& context, const RouteModel& model, Refusal refusal);

// Runs one step outside the records (the end processing, the trace's
// extension): a failure of the reading there is settled like a refusal.
template <typename Step>
Flow run_step(ReaderContext& context, const RouteModel& model, const FieldReader& reader, Step&& step) {
  try {
    std::forward<Step>(step)();
  } catch (const RunFailure& failure) {
    return settle(context, model, failure_refusal(reader, failure));
  }
  return Flow::kNext;
}

// A warning about the field at of the reader's source, or about the whole
// source when at is no field.
void warn_at(ReaderContext& context, const FieldReader& reader, FieldSite at, std::string_view name,
             std::string detail);

// "cell 155 already holds an indication board": what stands in the way of a
// placement.
std::string cell_taken(int64_t index, const Cell& cell);

}  // namespace scenario
