#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bench/fresh_process.h"
#include "bench/side_by_side.h"
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

// The package's whole run on the console, side by side with a plain copy of
// the six files it leaves, both on tmpfs when the machine has one: copy_ms,
// run_per_copy, cpu_per_copy and the package's peak_rss_mb.
void BM_PackageRunAgainstCopy(benchmark::State& state) {
  const testing::TempDir package_dir(scratch_parent());
  const testing::TempDir copy_dir(scratch_parent());
  const std::filesystem::path program = package_dir / "dorvallo_brisente";
  std::filesystem::copy_file(PACKAGE_PROGRAM, program);
  const Command package{program.string()};
  // A run, untimed, leaves the files to copy.
  if (const FreshRun first = run_fresh(package); !first.ok) {
    state.SkipWithError(("the package: " + first.failure).c_str());
    return;
  }
  Command copy{"/bin/cp", "-f"};
  for (const std::string& file : files_left(run_files(package_dir.path(), kBuiltInScenario, kBuiltInTrain))) {
    copy.push_back(file);
  }
  copy.push_back(copy_dir.path().string());

  run_side_by_side(state, package, copy, "copy");
}
BENCHMARK(BM_PackageRunAgainstCopy)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench
