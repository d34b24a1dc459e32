#include "reader/error_site.h"

#include <algorithm>

#include "reader/refuse.h"

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
  const std::string_view line =
      site.line == reader.field_line() ? reader.field_line_text() : reader.line_text(site.line);
  return {reader.file_name(), site.line, site.column, std::string(line), {}};
}

void mark_site(RouteModel& model, const FieldReader& reader, FieldSite site) {
  std::string detail = std::move(model.error_site.detail);
  model.error_site = site_of(reader, site);
  model.error_site.detail = std::move(detail);
}

void refuse_at(RouteModel& model, const FieldReader& reader, FieldSite site, ErrorCode code,
               std::string detail) {
  refuse(model, code, std::move(detail));
  mark_site(model, reader, site);
}

void note_recorded_error(RouteModel& model) {
  Diagnostic error{Severity::kError, model.error_code, {}, std::move(model.error_site)};
  model.error_code = 0;
  model.error_site = ErrorSite{};
  std::vector<Diagnostic>& list = model.notes.list;
  const bool seen = std::any_of(list.begin(), list.end(), [&error](const Diagnostic& noted) {
    return noted.code == error.code && noted.site.file == error.site.file && noted.site.line == error.site.line &&
           noted.site.column == error.site.column;
  });
  if (!seen) list.push_back(std::move(error));
}

bool has_noted_error(const ReaderNotes& notes) {
  return std::any_of(notes.list.begin(), notes.list.end(),
                     [](const Diagnostic& noted) { return noted.severity == Severity::kError; });
}

std::string cell_taken(int64_t index, const Cell& cell) {
  return "cell " + std::to_string(index) + " already holds " + object_name(cell.kind);
}

}  // namespace scenario
