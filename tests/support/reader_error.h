#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "model/route_model.h"

namespace scenario::testing {

// A reader error whole, as the tool prints it: the number, the file, the line
// and column the diagnostic points at, and the detail text.
struct ReaderError {
  int32_t code = 0;
  std::string file;
  int line = 0;
  int column = 0;
  std::string detail;

  bool operator==(const ReaderError&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const ReaderError& error) {
  return out << error.file << ":" << error.line << ":" << error.column << ": error " << error.code << ": "
             << error.detail;
}

// The error a reading left in the model.
inline ReaderError recorded_error(const RouteModel& model) {
  const ErrorSite& site = model.error_site;
  return {model.error_code, site.file, site.line, site.column, site.detail};
}

}  // namespace scenario::testing
