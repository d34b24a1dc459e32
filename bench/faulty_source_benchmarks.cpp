// What an author waits for when a train source is full of mistakes: scenario
// check and scenario compile in fresh processes on the faulty sources of
// generated_route.h, at sizes up to the largest source a reader takes.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "bench/fresh_process.h"
#include "bench/generated_route.h"
#include "reader/memorizza_dati.h"
#include "support/temp_dir.h"
#include "tool/commands.h"

namespace scenario::bench {
namespace {

constexpr int64_t kBytesPerKib = 1024;
constexpr int64_t kLargestSourceKib = static_cast<int64_t>(kLargestSource) / kBytesPerKib;
constexpr int64_t kSmallestKib = 64;
// Beside the faulty train source stands a route short enough that compiling
// it adds little to the reading.
constexpr int kRouteKilometres = 10;

int expected_status(Mistakes mistakes) {
  return mistakes == Mistakes::kWarningsOnOneLine ? tool::kSuccess : tool::kScenarioError;
}

// Each iteration is one run of `scenario COMMAND` on a faulty source of
// state.range(0) KiB at most. The time is the run's elapsed time; the bytes
// per second are the source's; cpu_ms is the run's processor time and
// peak_rss_mb the largest peak resident set (VmHWM) of the runs. Every run
// is read for its peak: one that ran out of address space ends with the
// same status as a check that found errors, and only its peak tells.
void run_on_faulty_source(benchmark::State& state, Mistakes mistakes, const char* command) {
  const testing::TempDir dir(scratch_parent());
  const std::string train = faulty_train_source(mistakes, static_cast<size_t>(state.range(0) * kBytesPerKib));
  write_generated_route(dir.path(), kRouteKilometres, train);
  const Command run{SCENARIO_PROGRAM, command, "--dir", dir.path().string(), std::string(kGeneratedScenario),
                    std::string(kGeneratedTrain)};
  double peak_rss = 0;
  double cpu_seconds = 0;
  for (auto _ : state) {
    const FreshRun ran = run_fresh_for_peak(run, expected_status(mistakes));
    if (!ran.ok) {
      state.SkipWithError(("scenario " + std::string(command) + ": " + ran.failure).c_str());
      break;
    }
    state.SetIterationTime(ran.seconds);
    peak_rss = std::max(peak_rss, ran.peak_rss_mb);
    cpu_seconds += ran.cpu_seconds;
  }
  const auto bytes = static_cast<int64_t>(train.size());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes);
  state.counters["cpu_ms"] = benchmark::Counter(cpu_seconds * 1e3, benchmark::Counter::kAvgIterations);
  state.counters["peak_rss_mb"] = peak_rss;
}

void BM_CheckFaultySource(benchmark::State& state, Mistakes mistakes) {
  run_on_faulty_source(state, mistakes, "check");
}

void BM_CompileFaultySource(benchmark::State& state, Mistakes mistakes) {
  run_on_faulty_source(state, mistakes, "compile");
}

// Every size from 64 KiB doubling up to the largest source: the time's shape
// over two orders of magnitude.
void doubling_sizes(benchmark::internal::Benchmark* benchmark) {
  benchmark->ArgName("KiB")->RangeMultiplier(2)->Range(kSmallestKib, kLargestSourceKib);
}

// 64 and 128 KiB, which show how the memory grows while it is still small
// enough to measure on a quadratic reading; then 1 MiB and the largest source.
void memory_sizes(benchmark::internal::Benchmark* benchmark) {
  constexpr int64_t kMebibyteKib = 1024;
  benchmark->ArgName("KiB")->Arg(kSmallestKib)->Arg(2 * kSmallestKib)->Arg(kMebibyteKib)->Arg(kLargestSourceKib);
}

// Timed as the author waits, by the clock. The cost is linear in the size
// when the bytes per second stay the same at every size. (No fitted
// complexity: Google Benchmark 1.7 crashes on a family whose every run
// failed, as every run of a regression may.)
void fresh_runs(benchmark::internal::Benchmark* benchmark) {
  benchmark->UseManualTime()->Unit(benchmark::kMillisecond);
}

BENCHMARK_CAPTURE(BM_CheckFaultySource, records_cut_short, Mistakes::kRecordsCutShort)
    ->Apply(doubling_sizes)
    ->Apply(fresh_runs);
BENCHMARK_CAPTURE(BM_CheckFaultySource, signals_cut_short, Mistakes::kSignalsCutShort)
    ->Apply(doubling_sizes)
    ->Apply(fresh_runs);
BENCHMARK_CAPTURE(BM_CheckFaultySource, warnings_on_one_line, Mistakes::kWarningsOnOneLine)
    ->Apply(memory_sizes)
    ->Apply(fresh_runs);
BENCHMARK_CAPTURE(BM_CheckFaultySource, errors_on_one_line, Mistakes::kErrorsOnOneLine)
    ->Apply(memory_sizes)
    ->Apply(fresh_runs);
BENCHMARK_CAPTURE(BM_CompileFaultySource, records_cut_short, Mistakes::kRecordsCutShort)
    ->Apply(memory_sizes)
    ->Apply(fresh_runs);
BENCHMARK_CAPTURE(BM_CompileFaultySource, warnings_on_one_line, Mistakes::kWarningsOnOneLine)
    ->Apply(memory_sizes)
    ->Apply(fresh_runs);
BENCHMARK_CAPTURE(BM_CompileFaultySource, errors_on_one_line, Mistakes::kErrorsOnOneLine)
    ->Apply(memory_sizes)
    ->Apply(fresh_runs);

}  // namespace
}  // namespace scenario::bench
