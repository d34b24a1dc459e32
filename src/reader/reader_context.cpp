#include "reader/reader_context.h"

#include <utility>

namespace scenario {
namespace {

std::string object_name(uint8_t kind) {
  switch (kind) {
    case kSignal: return "a signal";
    case kSlowdownEnd: return "the end of a slowdown";
    case kSlowdownStart: return "the start of a slowdown";
    case kWarningBoard: return "a slowdown warning board";
    case kPreWarning: return "a slowdown pre-warning cell";
    case kSpeedBoard: return "a maximum-speed board";
    case kStationStop: return "a station stop mark";
    case kTunnelMarker: return "a tunnel marker";
    case kReductionValue:
    case kReductionPlain: return "a speed reduction point";
    case kTextBoard: return "an indication board";
    default: return "an object of kind " + std::to_string(kind);
  }
}

}  // namespace

ErrorSite site_of(const FieldReader& reader, FieldSite site) {
  return {reader.file_name(), site.line, site.column, reader.excerpt(site), {}};
}

Refusal refusal_at(const FieldReader& reader, FieldSite at, ErrorCode code, std::string detail) {
  ErrorSite site = site_of(reader, at);
  site.detail = std::move(detail);
  return {code, std::move(site)};
}

Refusal failure_refusal(const FieldReader& reader, const RunFailure& failure) {
  return refusal_at(reader, failure.site.value_or(reader.site()), kRunFailure, failure.what());
}

Flow settle(ReaderContext& context, const RouteModel& model, Refusal refusal) {
  const Flow flow = refusal.code == kPositionError ? Flow::kEnd : Flow::kStop;
  Diagnostic error{Severity::kError, refusal.code, {}, std::move(refusal.site)};
  const bool recorded = context.strict;
  if (recorded) {
    context.recorded = error;
    if (flow == Flow::kStop && context.recover) {
      context.strict_scenario = model;
      context.strict = false;
    }
  }
  context.log.note_error(std::move(error), recorded);
  return flow;
}

void warn_at(ReaderContext& context, const FieldReader& reader, FieldSite at, std::string_view name,
             std::string detail) {
  ErrorSite site = site_of(reader, at);
  site.detail = std::move(detail);
  context.log.warn({Severity::kWarning, 0, std::string(name), std::move(site)});
}

std::string cell_taken(int64_t index, const Cell& cell) {
  return "cell " + std::to_string(index) + " already holds " + object_name(cell.kind);
}

}  // namespace scenario
