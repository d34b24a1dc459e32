#pragma once

#include <cstdint>
#include <string>

#include "reader/refuse.h"

namespace scenario::testing {

// The number a placing procedure refused with, 0 when it took the record.
inline int32_t code_of(const Verdict& verdict) { return verdict ? verdict->code : 0; }

// What it said was in the way; empty when it took the record.
inline std::string detail_of(const Verdict& verdict) { return verdict ? verdict->detail : std::string(); }

}  // namespace scenario::testing
