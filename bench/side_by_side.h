#pragma once

#include <benchmark/benchmark.h>

#include <string>

#include "bench/fresh_process.h"

namespace scenario::bench {

// A command and its floor, the least a program could do for the same
// result (a copy of the files it writes, a cmp of the files it compares),
// each run once an iteration in a fresh process, one after the other, so
// that both meet the same load of a busy machine. The time shown is the
// command's; counters give the floor's mean time as FLOOR_ms, the ratio of
// the two sums of elapsed time as run_per_FLOOR, that of processor time as
// cpu_per_FLOOR, and the command's peak resident set as peak_rss_mb.
void run_side_by_side(benchmark::State& state, const Command& command, const Command& floor,
                      const std::string& floor_name);

}  // namespace scenario::bench
