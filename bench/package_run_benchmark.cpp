#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "model/run_files.h"
#include "sources/builtin_sources.h"
#include "support/temp_dir.h"

namespace scenario::bench {
namespace {

using Clock = std::chrono::steady_clock;

// Runs a program without a display and waits for it; true when it ends with
// status 0.
bool run(const std::vector<std::string>& command) {
  std::vector<char*> argv;
  for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  char path_variable[] = "PATH=/usr/bin:/bin";
  char* environment[] = {path_variable, nullptr};
  pid_t child = 0;
  if (::posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environment) != 0) return false;
  int status = 0;
  return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double seconds_of(const std::vector<std::string>& command, bool& ok) {
  const Clock::time_point start = Clock::now();
  ok = run(command) && ok;
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The six files a run leaves: the three driver documents, the three binaries.
std::vector<std::string> files_left(const RunFiles& files) {
  return {files.notes.string(),         files.slowdowns.string(),   files.timetable.string(),
          files.line_geometry.string(), files.entry_table.string(), files.cell_grid.string()};
}

// The package's whole run on the console, side by side with a plain copy of
// the six files it leaves: each iteration runs both, one after the other, in
// fresh processes. The time shown is the package's; run_per_copy is the ratio
// of the two sums.
void BM_PackageRunAgainstCopy(benchmark::State& state) {
  const testing::TempDir package_dir;
  const testing::TempDir copy_dir;
  const std::filesystem::path program = package_dir / "dorvallo_brisente";
  std::filesystem::copy_file(PACKAGE_PROGRAM, program);
  bool ok = run({program.string()});
  std::vector<std::string> copy{"/bin/cp", "-f"};
  for (const std::string& file : files_left(run_files(package_dir.path(), kBuiltInScenario, kBuiltInTrain))) {
    copy.push_back(file);
  }
  copy.push_back(copy_dir.path().string());

  double package_seconds = 0;
  double copy_seconds = 0;
  for (auto _ : state) {
    const double package = seconds_of({program.string()}, ok);
    copy_seconds += seconds_of(copy, ok);
    package_seconds += package;
    state.SetIterationTime(package);
  }
  if (!ok) state.SkipWithError("the package or the copy failed");
  state.counters["copy_ms"] = benchmark::Counter(copy_seconds * 1e3, benchmark::Counter::kAvgIterations);
  state.counters["run_per_copy"] = package_seconds / copy_seconds;
}
BENCHMARK(BM_PackageRunAgainstCopy)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench
