#pragma once

#include "model/route_model.h"

namespace scenario {

// Puts the three kilometric progressive systems of rows 81 to 83 in order:
// the one that begins first into row 83 (slot uno), the last into row 81
// (slot tre); a falling system's offset is then raised by 100.
void progressive_ordina(RouteModel& model);

}  // namespace scenario
