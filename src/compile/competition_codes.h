#pragma once

#include <cstdint>
#include <string>

#include "model/route_model.h"

namespace scenario {

// Two check codes that tie the binary files to the pair train number and
// scenario name (rows 86 and 85): they match only for the same train on the
// same scenario.

// The text both codes sum the first 25 characters of: train number, then
// scenario name, in lower case, then the fill text.
std::string competition_text(const RouteModel& model);

// The plain sum of the first 25 character codes (0 to 6375).
int16_t codice_gara_og(const RouteModel& model);

// The position-weighted sum 1 x c(1) + ... + 25 x c(25) (0 to 82875).
int32_t codice_gara_st(const RouteModel& model);

}  // namespace scenario
