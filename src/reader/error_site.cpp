#include "reader/error_site.h"

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
  return {reader.file_name(), site.line, site.column, std::string(reader.line_text(site.line)), {}};
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

std::string cell_taken(int64_t index, const Cell& cell) {
  return "cell " + std::to_string(index) + " already holds " + object_name(cell.kind);
}

}  // namespace scenario
