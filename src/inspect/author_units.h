#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "model/route_model.h"

namespace scenario {

// What the stored values mean in the terms a route author writes: metres,
// km/h, per mille, times of day and the fields of the source records.

// The gradient in per mille; nothing for a byte of 0, which marks the
// unfilled end of the grid rather than -100 per mille.
std::optional<int> gradient_permille(const Cell& cell);

// The end cell of the slowdown that starts in cell `start`: the next slowdown
// end along the grid.
std::optional<size_t> slowdown_end(const Cells& cells, size_t start);

// The object of cell i as its source record gave it, field by field: a
// signal's sx, s1 ... tempo, a slowdown's speed and length, a speed board's
// speeds and stripes, a speed reduction point's speed. Null for kinds whose
// parameters mean nothing to an author (or for none).
nlohmann::ordered_json decoded_object(const Cells& cells, size_t i);

// A station's scheduled time as "HH:MM:SS".
std::string time_of_day_text(int32_t seconds);

}  // namespace scenario
