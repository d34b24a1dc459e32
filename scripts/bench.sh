#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them. Arguments go to the benchmark
# program, for example --benchmark_filter=FieldReader or
# --benchmark_repetitions=5. SCENARIO_BENCH_BUILD names the build directory.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
build="${SCENARIO_BENCH_BUILD:-build-bench}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DSCENARIO_BENCHMARKS=ON -DSCENARIO_TESTS=OFF -DSCENARIO_WERROR=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target scenario_benchmarks
exec "$build/bench/scenario_benchmarks" "$@"
