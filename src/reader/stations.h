#pragma once

#include "reader/record_loop.h"

namespace scenario {

// Reads the station record whose keyword the record holds (17 values, name
// last) into the row of the station counter, marks its stop and approach
// cells and advances the counter. Refuses with 15, 8, 9, 24, 22 or 10.
Outcome memo_stazione(Record& record);

}  // namespace scenario
