#pragma once

#include <optional>
#include <string>
#include <utility>

#include "model/error_codes.h"

namespace scenario {

// A procedure that places a record refuses it: the error number and what was
// wrong, where (metres, cell, row) and what was in the way. The record's
// handler adds the file, line and column.
struct Refused {
  ErrorCode code;
  std::string detail;
};

// What such a procedure answers: nothing when it took the record.
using Verdict = std::optional<Refused>;

inline Verdict refuse(ErrorCode code, std::string detail) { return Refused{code, std::move(detail)}; }

}  // namespace scenario
