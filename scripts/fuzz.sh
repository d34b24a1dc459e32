#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/) with clang's libFuzzer under AddressSanitizer
# and UndefinedBehaviorSanitizer (the main project with SCENARIO_FUZZ on; only
# the fuzz targets and the seed writer), seeds them with the built-in sources
# and runs each for FUZZ_SECONDS (default 60). Exits non-zero when a target crashed;
# the input that did it is left in the build directory under crashes/ and
# belongs, once understood and mended, in tests/faults/ as a regression case.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${FUZZ_SECONDS:-60}"
build="${FUZZ_BUILD:-build-fuzz}"

scripts/install-deps.sh
CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -DSCENARIO_FUZZ=ON -DSCENARIO_TESTS=OFF -DSCENARIO_WERROR=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target fuzz_field_reader fuzz_memorizza_dati make_seeds
fuzz_bin="$build/fuzz"
"$fuzz_bin/make_seeds" "$build/seeds"

targets=(field_reader memorizza_dati)
failed=()
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  mkdir -p "$corpus" "$build/crashes"
  echo "fuzzing $target for ${seconds}s" >&2
  if ! "$fuzz_bin/fuzz_$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
      -dict=fuzz/sources.dict -artifact_prefix="$build/crashes/$target-" "$corpus" "$build/seeds/$target"; then
    failed+=("$target")
  fi
done
[ ${#failed[@]} -eq 0 ] || echo "fuzzing found a fault in: ${failed[*]} (inputs in $build/crashes/)" >&2
echo "fuzzing: $((${#targets[@]} - ${#failed[@]})) passed, ${#failed[@]} failed"
[ ${#failed[@]} -eq 0 ]
