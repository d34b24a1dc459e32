#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace scenario {

// What a cell kind is called: as the JSON shows it ("station_stop") and as a
// message names what holds a cell ("a station stop mark").
struct CellKindName {
  std::string_view json;
  std::string_view prose;
};

// The names of a cell kind; nothing for a number that is no kind (7 to 9,
// 15 and above).
std::optional<CellKindName> cell_kind_name(uint8_t kind);

}  // namespace scenario
