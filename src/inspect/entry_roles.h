#pragma once

#include <string_view>

#include "model/route_model.h"

namespace scenario {

// What a row of the entry table holds. Rows 81 to 86 have fixed roles. Rows
// 1 to 80 are shared: stations fill them from 1 upward, board texts from 80
// downward, and the file does not say where one block ends. A station always
// has a number besides its name (its position, extent or kind), a board text
// is a text alone; a row with neither is free.
enum class EntryRole { kUnused, kStation, kBoardText, kFree, kProgressiveSystem, kTotals, kScenario, kTrain };

EntryRole entry_role(int row, const Entry& entry);

// The role as the JSON shows it ("station", "board_text").
std::string_view entry_role_name(EntryRole role);

}  // namespace scenario
