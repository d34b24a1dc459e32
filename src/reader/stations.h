#pragma once

#include "model/route_model.h"
#include "reader/field_reader.h"
#include "reader/reader_state.h"

namespace scenario {

// Reads the station record whose keyword stood at keyword (17 values, name
// last) into the row of the station counter, marks its stop and approach
// cells and advances the counter. Refuses with 15, 8, 9, 24, 22 or 10 and
// leaves the diagnostic in model.error_site.
void memo_stazione(RouteModel& model, FieldReader& reader, ReaderState& state, FieldSite keyword);

}  // namespace scenario
