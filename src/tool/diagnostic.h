#pragma once

#include <string>

#include "model/route_model.h"

namespace scenario::tool {

// A reader error as editors and compilers print it:
//   FILE:LINE: error N: what was wrong
//   the source line
//          ^ under the field at fault
std::string format_diagnostic(int32_t error_code, const ErrorSite& site);

}  // namespace scenario::tool
