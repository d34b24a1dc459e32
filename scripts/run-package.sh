#!/usr/bin/env bash
# Builds the scenario package, installs the program, its window program and
# its window module into package/ at the top of the repository (replacing what
# an earlier run left there) and runs it: it writes the Dorvallo-Brisente
# scenario for train 47302 beside itself, so that package/ ends with the three
# and the program's six files.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# Warnings are errors here as in scripts/test.sh, which shares build/: both
# install the compiler the tree is kept warning-free on.
cmake -S . -B build -DSCENARIO_WERROR=ON >/dev/null
cmake --build build -j "$(nproc)" --target dorvallo_brisente
rm -rf package
cmake --install build --prefix package --component package >/dev/null
exec package/dorvallo_brisente
