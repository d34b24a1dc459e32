#!/usr/bin/env bash
# Builds every target (the programs, the tests, the benchmarks) with clang 14,
# warnings as errors, in build-clang/ (SCENARIO_CLANG_BUILD names another).
# CI runs it so that the tree stays warning-free under both compilers; the
# tests themselves run in the g++ build of scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
build="${SCENARIO_CLANG_BUILD:-build-clang}"
CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -DSCENARIO_WERROR=ON -DSCENARIO_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
