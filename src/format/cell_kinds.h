#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace scenario {

// The name of a cell kind as the JSON shows it ("signal", "station_stop");
// nothing for a number that is no kind (7 to 9, 15 and above).
std::optional<std::string_view> cell_kind_name(uint8_t kind);

}  // namespace scenario
