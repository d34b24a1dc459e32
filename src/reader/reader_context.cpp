#include "reader/reader_context.h"

#include <optional>
#include <utility>

#include "format/cell_kinds.h"

namespace scenario {
namespace {

// Only a cell that holds something stands in the way of a placement.
std::string object_name(uint8_t kind) {
  const std::optional<CellKindName> name = cell_kind_name(kind);
  if (kind == kNothing || !name) return "an object of kind " + std::to_string(kind);
  return std::string(name->prose);
}

}  // namespace

ErrorSite site_of(const FieldReader& reader, FieldSite site, std::string detail) {
  return {reader.file_name(), site.line, site.column, reader.excerpt(site), std::move(detail)};
}

Refusal refusal_at(const FieldReader& reader, FieldSite at, ErrorCode code, std::string detail) {
  return {code, site_of(reader, at, std::move(detail))};
}

Refusal failure_refusal(const FieldReader& reader, const RunFailure& failure) {
  return refusal_at(reader, failure.site.value_or(reader.site()), kRunFailure, failure.what());
}

Flow settle(ReaderContext& context, const RouteModel& model, Refusal refusal) {
  const Flow flow = flow_after(refusal.code);
  Diagnostic error{Severity::kError, refusal.code, {}, std::move(refusal.site), std::move(refusal.notes)};
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
  context.log.warn({Severity::kWarning, 0, std::string(name), site_of(reader, at, std::move(detail))});
}

std::string cell_taken(int64_t index, const Cell& cell) {
  return "cell " + std::to_string(index) + " already holds " + object_name(cell.kind);
}

}  // namespace scenario
