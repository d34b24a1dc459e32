#pragma once

#include <cstdint>

#include "model/route_model.h"
#include "reader/field_reader.h"
#include "reader/reader_state.h"

namespace scenario {

inline constexpr int32_t kStationOffGrid = 8;       // position not a multiple of 50
inline constexpr int32_t kStationLengthUneven = 9;  // length not a multiple of 100
inline constexpr int32_t kTooManyStations = 10;
inline constexpr int32_t kStationsTooClose = 22;
inline constexpr int32_t kStopCellUnusable = 24;

// Reads the station record whose keyword stood at keyword (17 values, name
// last) into the row of the station counter, marks its stop and approach
// cells and advances the counter. Refuses with 15, 8, 9, 24, 22 or 10 and
// leaves the diagnostic in model.error_site.
void memo_stazione(RouteModel& model, FieldReader& reader, ReaderState& state, FieldSite keyword);

}  // namespace scenario
