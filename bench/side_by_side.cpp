#include "bench/side_by_side.h"

namespace scenario::bench {
namespace {

void add(FreshRun& sum, const FreshRun& run) {
  sum.seconds += run.seconds;
  sum.cpu_seconds += run.cpu_seconds;
}

}  // namespace

void run_side_by_side(benchmark::State& state, const Command& command, const Command& floor,
                      const std::string& floor_name) {
  // The first run, untimed, gives the peak.
  const FreshRun first = run_fresh_for_peak(command);
  std::string failure = first.ok ? "" : command.front() + ": " + first.failure;
  FreshRun command_sum;
  FreshRun floor_sum;
  for (auto _ : state) {
    const FreshRun run = run_fresh(command);
    const FreshRun floor_run = run_fresh(floor);
    if (failure.empty() && !run.ok) failure = command.front() + ": " + run.failure;
    if (failure.empty() && !floor_run.ok) failure = "the " + floor_name + ": " + floor_run.failure;
    add(command_sum, run);
    add(floor_sum, floor_run);
    state.SetIterationTime(run.seconds);
  }
  if (!failure.empty()) state.SkipWithError(failure.c_str());
  state.counters[floor_name + "_ms"] = benchmark::Counter(floor_sum.seconds * 1e3, benchmark::Counter::kAvgIterations);
  state.counters["run_per_" + floor_name] = command_sum.seconds / floor_sum.seconds;
  state.counters["cpu_per_" + floor_name] = command_sum.cpu_seconds / floor_sum.cpu_seconds;
  state.counters["peak_rss_mb"] = first.peak_rss_mb;
}

}  // namespace scenario::bench
