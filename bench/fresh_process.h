#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace scenario::bench {

// A program and its arguments.
using Command = std::vector<std::string>;

// A run that outlives this is killed and fails, so that a program slowed to
// a crawl or hung fails its benchmark instead of holding up the whole run.
inline constexpr std::chrono::seconds kRunDeadline{30};

// The address space a run may map: far above what any run should need, far
// below what would push the other work of a shared machine out of memory.
// Past it an allocation fails, and the program ends as it does on any other
// failure: with scenario check's exit status 1, say, which a check of a
// source full of errors expects. The peak resident set tells such a run.
inline constexpr uint64_t kRunAddressSpace = uint64_t{4} << 30;

// One run of a command in a fresh process.
struct FreshRun {
  bool ok = false;  // it ended by itself before the deadline, with the exit status expected
  double seconds = 0;
  // The processor time it took, user and system: on a busy machine a steadier
  // figure than the time it waited for.
  double cpu_seconds = 0;
  // The peak resident set in MB, from run_fresh_for_peak alone; kept when the
  // run failed, if the program got as far as ending.
  double peak_rss_mb = 0;
  std::string failure;  // why it is not ok
};

// Where the fresh-process benchmarks keep their files: tmpfs (/dev/shm) when
// the machine has one, so that no disk enters the figures; the temporary
// directory otherwise.
std::filesystem::path scratch_parent();

// Runs the command without a display and waits for it, up to kRunDeadline;
// it succeeds with exit status 0. What it prints goes to /dev/null: a run
// that lists a million diagnostics must not flood the benchmark's output.
FreshRun run_fresh(const Command& command);

// Runs the command as run_fresh does, and also reads the peak resident set
// of the program from the program itself as it ends. (A child's own rusage
// would also count the benchmark's memory, which the child shares or copies
// until it starts the program.) It succeeds with expected_status: scenario
// check exits 1 on a source with errors.
FreshRun run_fresh_for_peak(const Command& command, int expected_status = 0);

}  // namespace scenario::bench
