#pragma once

#include <cstdint>
#include <span>

#include "reader/record_loop.h"

// The out-of-range warning of each record whose values are stored in fewer
// bits than they are read with, or packed one beside the other: a value
// outside the range its field holds intact is stored wrapped, or carried
// into its neighbour. The ranges are the schema's; the warning changes
// nothing that is read or stored. Each takes the record's numbers as read, in
// the order of the record, the keyword's place excepted.

namespace scenario {

// A signal's eleven numbers, once the signal is placed: p1 to p4 pack them
// one decimal digit each, the timer keeps the low 8 bits of tempo.
void warn_signal_out_of_range(Record& record, std::span<const Number> numbers);

// A slowdown's six numbers, once the slowdown is placed: v, f_tt and d_v keep
// their low 16 bits.
void warn_slowdown_out_of_range(Record& record, std::span<const Number> numbers);

// A speed board's nine numbers, once the board is placed: each pair of speeds
// is packed as s × 20 + d / 5 and the stripe counts as s × 10 + d.
void warn_speed_board_out_of_range(Record& record, std::span<const Number> numbers);

// A tunnel's three numbers, once it is stored with the kind its tipo stands
// for: the kind keeps its low 8 bits.
bool warn_tunnel_out_of_range(Record& record, std::span<const Number> numbers);

// A time of hour, minute and second: a minute or second past 59 runs into
// the next minute or hour. what names the time ("start clock"); stored_apart
// tells whether the three are stored as given (the clock) or as one sum of
// seconds (a station's scheduled time).
void warn_time_out_of_range(Record& record, std::string_view what, std::string_view keyword,
                            std::span<const Number, 3> time, bool stored_apart);

}  // namespace scenario
