#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace scenario::bench {

// A program and its arguments.
using Command = std::vector<std::string>;

// One run of a command in a fresh process.
struct FreshRun {
  bool ok = false;  // it ended by itself with status 0
  double seconds = 0;
  // The processor time it took, user and system: on a busy machine a steadier
  // figure than the time it waited for.
  double cpu_seconds = 0;
};

// Where the fresh-process benchmarks keep their files: tmpfs (/dev/shm) when
// the machine has one, so that no disk enters the figures; the temporary
// directory otherwise.
std::filesystem::path scratch_parent();

// Runs the command without a display and waits for it.
FreshRun run_fresh(const Command& command);

// Runs the command once, as run_fresh does, and returns the peak resident set
// of the program in MB, read from the program itself as it ends; 0 when it
// failed. (A child's own rusage would also count the benchmark's memory, which
// the child shares or copies until it starts the program.)
double peak_rss_mb(const Command& command);

}  // namespace scenario::bench
