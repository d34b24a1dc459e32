#!/usr/bin/env bash
# Builds the scenario package and runs it: it writes the Dorvallo-Brisente
# scenario for train 47302 into the directory that holds the program
# (build/src/run/).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build >/dev/null
cmake --build build -j "$(nproc)" --target dorvallo_brisente
exec build/src/run/dorvallo_brisente
