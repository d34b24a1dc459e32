#pragma once

#include <cstdint>

#include "model/route_model.h"

namespace scenario {

// Two check codes that tie the binary files to the pair train number and
// scenario name (rows 86 and 85): they match only for the same train on the
// same scenario. Both leave the filled text they summed in text_buffer.

// The plain sum of the first 25 character codes (0 to 6375).
int16_t codice_gara_og(RouteModel& model);

// The position-weighted sum 1 x c(1) + ... + 25 x c(25) (0 to 82875).
int32_t codice_gara_st(RouteModel& model);

}  // namespace scenario
