// What the scenario tool's commands cost above their floors: each command
// side by side with the least a program could do for the same answer
// (bench/side_by_side.h), so that a ratio near 1 says the command is as
// fast as it can be, whatever the machine.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench/fresh_process.h"
#include "bench/generated_route.h"
#include "bench/side_by_side.h"
#include "model/run_files.h"
#include "reader/memorizza_dati.h"
#include "sources/builtin_sources.h"
#include "support/temp_dir.h"

namespace scenario::bench {
namespace {

constexpr int kLongestRouteKilometres = 990;

RunFiles generated_files(const std::filesystem::path& dir) {
  return run_files(dir, kGeneratedScenario, kGeneratedTrain);
}

// The files of the longest generated route, compiled by the tool; false
// (and the benchmark skipped) when the compile fails.
bool compile_longest_route(benchmark::State& state, const std::filesystem::path& dir) {
  write_generated_route(dir, kLongestRouteKilometres);
  const FreshRun compiled = run_fresh({SCENARIO_PROGRAM, "compile", "--dir", dir.string(),
                                       std::string(kGeneratedScenario), std::string(kGeneratedTrain)});
  if (!compiled.ok) state.SkipWithError(("scenario compile: " + compiled.failure).c_str());
  return compiled.ok;
}

// Every value of the longest plan as JSON (two million numbers, 51 MB of
// text) against bench/inspect_floor.cpp, which prints the same numbers in
// the same layout from a file it trusts.
void BM_InspectAllGeometryAgainstFloor(benchmark::State& state) {
  const testing::TempDir dir(scratch_parent());
  if (!compile_longest_route(state, dir.path())) return;
  const std::string geometry = generated_files(dir.path()).line_geometry.string();
  run_side_by_side(state, {SCENARIO_PROGRAM, "inspect", "--all", geometry}, {INSPECT_FLOOR_PROGRAM, geometry},
                   "floor");
}
BENCHMARK(BM_InspectAllGeometryAgainstFloor)->UseManualTime()->Unit(benchmark::kMillisecond);

// Two identical cell grids of the longest route against cmp of them.
void BM_DiffIdenticalGridsAgainstCmp(benchmark::State& state) {
  const testing::TempDir dir(scratch_parent());
  if (!compile_longest_route(state, dir.path())) return;
  const std::filesystem::path grid = generated_files(dir.path()).cell_grid;
  const std::filesystem::path copy = dir / "Copia_1.dat";
  std::filesystem::copy_file(grid, copy);
  run_side_by_side(state, {SCENARIO_PROGRAM, "diff", grid.string(), copy.string()},
                   {"/usr/bin/cmp", grid.string(), copy.string()}, "cmp");
  state.counters["file_mb"] = static_cast<double>(std::filesystem::file_size(grid)) / (1 << 20);
}
BENCHMARK(BM_DiffIdenticalGridsAgainstCmp)->UseManualTime()->Unit(benchmark::kMillisecond);

// A clean train source at the size cap (a speed limit every 50 m of the
// longest route, each with a long comment) against wc -l of it.
void BM_CheckSourceAtCapAgainstWc(benchmark::State& state) {
  const testing::TempDir dir(scratch_parent());
  write_generated_route(dir.path(), kLongestRouteKilometres,
                        commented_train_source(kLongestRouteKilometres, static_cast<size_t>(kLargestSource)));
  const RunFiles files = generated_files(dir.path());
  run_side_by_side(state,
                   {SCENARIO_PROGRAM, "check", "--dir", dir.path().string(), std::string(kGeneratedScenario),
                    std::string(kGeneratedTrain)},
                   {"/usr/bin/wc", "-l", files.train_source.string()}, "wc");
  state.counters["source_mb"] = static_cast<double>(std::filesystem::file_size(files.train_source)) / (1 << 20);
}
BENCHMARK(BM_CheckSourceAtCapAgainstWc)->UseManualTime()->Unit(benchmark::kMillisecond);

// The built-in pair, a check of which is mostly the program's start,
// against bench/hello_floor.cpp, which loads the C and C++ runtimes alone.
void BM_CheckBuiltInAgainstHello(benchmark::State& state) {
  const testing::TempDir dir(scratch_parent());
  const FreshRun exported = run_fresh({SCENARIO_PROGRAM, "export", "--dir", dir.path().string()});
  if (!exported.ok) {
    state.SkipWithError(("scenario export: " + exported.failure).c_str());
    return;
  }
  run_side_by_side(state,
                   {SCENARIO_PROGRAM, "check", "--dir", dir.path().string(), std::string(kBuiltInScenario),
                    std::string(kBuiltInTrain)},
                   {HELLO_FLOOR_PROGRAM}, "hello");
}
BENCHMARK(BM_CheckBuiltInAgainstHello)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench
