#pragma once

#include <cstdint>
#include <string>

#include "model/error_codes.h"
#include "model/route_model.h"

namespace scenario {

// A record handler refuses its record: records the error number and says what
// was wrong, where (metres, cell, row) and what was in the way. The reader
// adds the file, line and column of the record.
inline void refuse(RouteModel& model, ErrorCode code, std::string detail) {
  model.error_code = code;
  model.error_site.detail = std::move(detail);
}

}  // namespace scenario
