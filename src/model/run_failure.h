#pragma once

#include <optional>
#include <stdexcept>
#include <string>

#include "model/diagnostic.h"

namespace scenario {

// The one way a reading fails at run time: a read past the end of a source, a
// field that is no number, a value too wide for its field, an index outside a
// table. The reading turns it into error 25 at the field being read, or at
// site when the cause stands elsewhere (a record cut short, a value written
// into the cells only when the next record arrives). Any other exception
// inside the reading is a fault of the program.
class RunFailure : public std::runtime_error {
 public:
  explicit RunFailure(const std::string& what, std::optional<FieldSite> at = {})
      : std::runtime_error(what), site(at) {}
  std::optional<FieldSite> site;
};

}  // namespace scenario
