#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench/fresh_process.h"
#include "bench/generated_route.h"
#include "bench/in_memory_compile.h"
#include "compile/memorizza_percorso.h"
#include "format/line_geometry.h"
#include "model/run_files.h"
#include "sources/builtin_sources.h"
#include "sources/line_table.h"
#include "support/temp_dir.h"

namespace scenario::bench {
namespace {

// A benchmark of a compilation that does not compile cleanly measures nothing.
void require_clean(benchmark::State& state, const ReadReport& read) {
  if (read.recorded) {
    state.SkipWithError(("the sources do not compile: error " + std::to_string(read.error_code()) + ": " +
                         read.recorded->site.detail)
                            .c_str());
  }
}

RouteModel builtin_model() {
  RouteModel model;
  model.scenario_name = kBuiltInScenario;
  model.train_number = kBuiltInTrain;
  return model;
}

// The built-in scenario from its two sources in memory to its three files'
// bytes: what the package computes, without the disk.
void BM_CompileBuiltInInMemory(benchmark::State& state) {
  const std::string line = table_text(line_source_table());
  const std::string train = table_text(train_source_table());
  RouteModel model = builtin_model();
  ReadReport read;
  for (auto _ : state) {
    ScenarioBytes bytes = compile_in_memory(model, line, train, kWithTrace, read);
    benchmark::DoNotOptimize(bytes);
  }
  require_clean(state, read);
}
BENCHMARK(BM_CompileBuiltInInMemory)->Unit(benchmark::kMillisecond);

// The same compilation finished by the compiler's own sealing and writing:
// the three binary files replace their older copies on disk.
void BM_CompileBuiltInWritingFiles(benchmark::State& state) {
  const std::string line = table_text(line_source_table());
  const std::string train = table_text(train_source_table());
  const testing::TempDir dir;
  RouteModel model = builtin_model();
  const RunFiles files = run_files(dir.path(), model.scenario_name, model.train_number);
  ReadReport read;
  for (auto _ : state) {
    read = read_sources_in_memory(model, line, train, kWithTrace);
    seal_and_write(model, read, files, CompileOptions{});
  }
  require_clean(state, read);
}
BENCHMARK(BM_CompileBuiltInWritingFiles)->Unit(benchmark::kMillisecond);

// The line geometry file of the built-in scenario, its points computed as
// they are encoded, handed to a sink that keeps nothing: the largest of the
// package's own work.
void BM_LineGeometryWriter(benchmark::State& state) {
  RouteModel model = builtin_model();
  const ReadReport read =
      read_sources_in_memory(model, table_text(line_source_table()), table_text(train_source_table()), kWithTrace);
  size_t bytes = 0;
  const PlacedSink count = [&bytes](uint64_t, std::string_view chunk) {
    benchmark::DoNotOptimize(chunk.data());
    bytes += chunk.size();
  };
  for (auto _ : state) write_line_geometry(model.plan_trace, count);
  require_clean(state, read);
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_LineGeometryWriter)->Unit(benchmark::kMicrosecond);

// Routes of 10, 100 and 990 km with their full plan trace: the cost per
// kilometre stays the same (the fitted complexity is linear).
void BM_CompileGeneratedRoute(benchmark::State& state) {
  const int kilometres = static_cast<int>(state.range(0));
  const std::string line = generated_line_source(kilometres);
  const std::string train = generated_train_source(kilometres);
  RouteModel model;
  model.scenario_name = kGeneratedScenario;
  model.train_number = kGeneratedTrain;
  ReadReport read;
  for (auto _ : state) {
    ScenarioBytes bytes = compile_in_memory(model, line, train, kWithTrace, read);
    benchmark::DoNotOptimize(bytes);
  }
  require_clean(state, read);
  state.SetComplexityN(kilometres);
  state.counters["cells"] = static_cast<double>(model.cells.size());
}
BENCHMARK(BM_CompileGeneratedRoute)
    ->Arg(10)
    ->Arg(100)
    ->Arg(990)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

// The longest route compiled as an author compiles it: the scenario program
// in a fresh process, its sources and files on tmpfs when the machine has
// one. The time includes starting the program and the reads and writes the
// in-memory figures leave out; cpu_ms is the program's processor time and
// peak_rss_mb its peak resident set.
void BM_CompileGeneratedRouteFreshProcess(benchmark::State& state) {
  const int kilometres = static_cast<int>(state.range(0));
  const testing::TempDir dir(scratch_parent());
  write_generated_route(dir.path(), kilometres);
  const Command compile{SCENARIO_PROGRAM, "compile", "--dir", dir.path().string(),
                        std::string(kGeneratedScenario), std::string(kGeneratedTrain)};
  const FreshRun first = run_fresh_for_peak(compile);
  std::string failure = first.failure;
  double cpu_seconds = 0;
  for (auto _ : state) {
    const FreshRun run = run_fresh(compile);
    if (failure.empty()) failure = run.failure;
    cpu_seconds += run.cpu_seconds;
    state.SetIterationTime(run.seconds);
  }
  if (!failure.empty()) state.SkipWithError(("scenario compile: " + failure).c_str());
  state.counters["cpu_ms"] = benchmark::Counter(cpu_seconds * 1e3, benchmark::Counter::kAvgIterations);
  state.counters["peak_rss_mb"] = first.peak_rss_mb;
}
BENCHMARK(BM_CompileGeneratedRouteFreshProcess)->Arg(990)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench
