#pragma once

#include <cstdint>
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
  int64_t taken_cell;  // the cell whose object is in the way, or kNoCell
  bool table_full;     // a 15 that no route length causes: a table holds no more
};

inline constexpr int64_t kNoCell = -1;

// What such a procedure answers: nothing when it took the record.
using Verdict = std::optional<Refused>;

inline Verdict refuse(ErrorCode code, std::string detail) {
  return Refused{code, std::move(detail), kNoCell, false};
}

// A refusal because cell already holds an object: the record that put it
// there becomes the refusal's note.
inline Verdict refuse_taken(ErrorCode code, std::string detail, int64_t cell) {
  return Refused{code, std::move(detail), cell, false};
}

// A refusal because a table of the scenario (the tunnel register, the rows
// of board texts) holds no more: error 15, which a longer route does not mend.
inline Verdict refuse_full(std::string detail) { return Refused{kPositionError, std::move(detail), kNoCell, true}; }

}  // namespace scenario
