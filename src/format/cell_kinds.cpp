#include "format/cell_kinds.h"

#include "model/route_model.h"

namespace scenario {

std::optional<CellKindName> cell_kind_name(uint8_t kind) {
  switch (kind) {
    case kNothing: return CellKindName{"nothing", "nothing"};
    case kSignal: return CellKindName{"signal", "a signal"};
    case kSlowdownEnd: return CellKindName{"slowdown_end", "the end of a slowdown"};
    case kSlowdownStart: return CellKindName{"slowdown_start", "the start of a slowdown"};
    case kWarningBoard: return CellKindName{"slowdown_warning_board", "a slowdown warning board"};
    case kPreWarning: return CellKindName{"slowdown_pre_warning", "a slowdown pre-warning cell"};
    case kSpeedBoard: return CellKindName{"speed_board", "a maximum-speed board"};
    case kStationStop: return CellKindName{"station_stop", "a station stop mark"};
    case kTunnelMarker: return CellKindName{"tunnel_marker", "a tunnel marker"};
    case kReductionValue: return CellKindName{"speed_reduction_with_value", "a speed reduction point"};
    case kReductionPlain: return CellKindName{"speed_reduction", "a speed reduction point"};
    case kTextBoard: return CellKindName{"indication_board", "an indication board"};
    default: return std::nullopt;
  }
}

}  // namespace scenario
