#pragma once

#include <stdexcept>
#include <string>

namespace scenario {

// A run-time failure inside the readers: a read past the end of a source, a
// field that is no number, a value too wide for its field, an index outside a
// table. The reader catches it once and records error 25.
class RunFailure : public std::runtime_error {
 public:
  explicit RunFailure(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace scenario
