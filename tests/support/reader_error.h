#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include "model/diagnostic.h"
#include "reader/read_sources.h"

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

// The error a reading recorded.
inline ReaderError recorded_error(const std::optional<Diagnostic>& recorded) {
  if (!recorded) return {};
  const ErrorSite& site = recorded->site;
  return {recorded->code, site.file, site.line, site.column, site.detail};
}

inline ReaderError recorded_error(const ReadReport& report) { return recorded_error(report.recorded); }

inline ReaderError recorded_error(const Diagnostic& diagnostic) { return recorded_error(std::optional(diagnostic)); }

}  // namespace scenario::testing
