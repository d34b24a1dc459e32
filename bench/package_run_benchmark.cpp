#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bench/fresh_process.h"
#include "model/run_files.h"
#include "sources/builtin_sources.h"
#include "support/temp_dir.h"

namespace scenario::bench {
namespace {

// The six files a run leaves: the three driver documents, the three binaries.
std::vector<std::string> files_left(const RunFiles& files) {
  return {files.notes.string(),         files.slowdowns.string(),   files.timetable.string(),
          files.line_geometry.string(), files.entry_table.string(), files.cell_grid.string()};
}

void add(FreshRun& sum, const FreshRun& run) {
  sum.seconds += run.seconds;
  sum.cpu_seconds += run.cpu_seconds;
}

// The package's whole run on the console, side by side with a plain copy of
// the six files it leaves, both on tmpfs when the machine has one: each
// iteration runs both, one after the other, in fresh processes. The time
// shown is the package's; run_per_copy is the ratio of the two sums of
// elapsed time, cpu_per_copy that of processor time, and peak_rss_mb the
// package's peak resident set.
void BM_PackageRunAgainstCopy(benchmark::State& state) {
  const testing::TempDir package_dir(scratch_parent());
  const testing::TempDir copy_dir(scratch_parent());
  const std::filesystem::path program = package_dir / "dorvallo_brisente";
  std::filesystem::copy_file(PACKAGE_PROGRAM, program);
  const Command package{program.string()};
  // The first run, untimed, leaves the files to copy.
  const FreshRun first = run_fresh_for_peak(package);
  Command copy{"/bin/cp", "-f"};
  for (const std::string& file : files_left(run_files(package_dir.path(), kBuiltInScenario, kBuiltInTrain))) {
    copy.push_back(file);
  }
  copy.push_back(copy_dir.path().string());

  std::string failure = first.ok ? "" : "the package: " + first.failure;
  FreshRun package_sum;
  FreshRun copy_sum;
  for (auto _ : state) {
    const FreshRun run = run_fresh(package);
    const FreshRun copied = run_fresh(copy);
    if (failure.empty() && !run.ok) failure = "the package: " + run.failure;
    if (failure.empty() && !copied.ok) failure = "the copy: " + copied.failure;
    add(package_sum, run);
    add(copy_sum, copied);
    state.SetIterationTime(run.seconds);
  }
  if (!failure.empty()) state.SkipWithError(failure.c_str());
  state.counters["copy_ms"] = benchmark::Counter(copy_sum.seconds * 1e3, benchmark::Counter::kAvgIterations);
  state.counters["run_per_copy"] = package_sum.seconds / copy_sum.seconds;
  state.counters["cpu_per_copy"] = package_sum.cpu_seconds / copy_sum.cpu_seconds;
  state.counters["peak_rss_mb"] = first.peak_rss_mb;
}
BENCHMARK(BM_PackageRunAgainstCopy)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench
