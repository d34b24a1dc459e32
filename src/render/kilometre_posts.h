#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/route_model.h"

namespace scenario {

// Kilometric progressive systems: the lineside kilometre numbering, kept in
// entry rows 81 to 83 as start (long1), offset (long2) and direction (long3).
// The system in force at position p is the last of rows 83, 82, 81 (sorted by
// start) whose start lies at or before p; a row of three zeros carries none.
// Direction 0 reads p + offset; direction 1 reads (offset - 100) - p, as the
// compiler adds 100 to a falling system's offset; other directions carry no
// numbering.

struct KilometrePost {
  int32_t position = 0;  // metres from the route origin
  int64_t kilometre = 0;
};

// The whole-kilometre posts from position `from` to `to`, in route order. A
// post stands where the reading is a multiple of 1000 m.
std::vector<KilometrePost> kilometre_posts(const std::array<Entry, kEntryCount>& entries, int32_t from, int32_t to);

// Positions in (from, to] where the numbering changes to another system.
std::vector<int32_t> numbering_changes(const std::array<Entry, kEntryCount>& entries, int32_t from, int32_t to);

}  // namespace scenario
