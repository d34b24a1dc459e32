#include "format/cell_kinds.h"

#include "model/route_model.h"

namespace scenario {

std::optional<std::string_view> cell_kind_name(uint8_t kind) {
  switch (kind) {
    case kNothing: return "nothing";
    case kSignal: return "signal";
    case kSlowdownEnd: return "slowdown_end";
    case kSlowdownStart: return "slowdown_start";
    case kWarningBoard: return "slowdown_warning_board";
    case kPreWarning: return "slowdown_pre_warning";
    case kSpeedBoard: return "speed_board";
    case kStationStop: return "station_stop";
    case kTunnelMarker: return "tunnel_marker";
    case kReductionValue: return "speed_reduction_with_value";
    case kReductionPlain: return "speed_reduction";
    case kTextBoard: return "indication_board";
    default: return std::nullopt;
  }
}

}  // namespace scenario
