#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/) with clang's libFuzzer under AddressSanitizer
# and UndefinedBehaviorSanitizer (the main project with SCENARIO_FUZZ on; only
# the fuzz targets and the seed writer) and runs them.
#
#   scripts/fuzz.sh             replays the kept corpus of each target
#                               (fuzz/corpus/TARGET), then fuzzes each for
#                               FUZZ_SECONDS (default 20): what CI runs
#   scripts/fuzz.sh --long      fuzzes each target for FUZZ_SECONDS (default
#                               600), from the kept corpus and what earlier runs
#                               found; not for CI
#   scripts/fuzz.sh --minimise  merges what the runs found into the kept corpus,
#                               keeping only inputs that reach new edges (-merge=1)
#
# Exits non-zero when a target crashed; the input that did it is left in the
# build directory under crashes/ and belongs, once understood and mended, in
# tests/faults/ as a regression case. Each run ends with the target's
# executions and executions per second.
set -euo pipefail
cd "$(dirname "$0")/.."

mode="${1:-short}"
case "$mode" in
  short) seconds="${FUZZ_SECONDS:-20}" ;;
  --long) seconds="${FUZZ_SECONDS:-600}" ;;
  --minimise) seconds=0 ;;
  *) echo "usage: scripts/fuzz.sh [--long | --minimise]" >&2; exit 2 ;;
esac
build="${FUZZ_BUILD:-build-fuzz}"
targets=(field_reader memorizza_dati inspect_decoders)
# Inputs up to 128 KiB: large enough that a reading whose time or memory
# grows with the square of its input shows it. Each input has a deadline and
# a memory ceiling far above what a linear reading of it takes, so a slow or
# greedy input is a finding, kept under crashes/ like a crash.
max_len=131072
per_input_seconds=3
rss_limit_mb=1024

scripts/install-deps.sh
CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -DSCENARIO_FUZZ=ON -DSCENARIO_TESTS=OFF -DSCENARIO_WERROR=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target make_seeds "${targets[@]/#/fuzz_}"
fuzz_bin="$build/fuzz"
"$fuzz_bin/make_seeds" "$build/seeds"
mkdir -p "$build/crashes"

# The keywords of the sources help the readers' targets; the decoders read bytes.
dictionary() {
  [ "$1" = inspect_decoders ] || echo "-dict=fuzz/sources.dict"
}

# Keeps the smallest inputs that reach every edge reached so far (not every
# new hit count: that would keep ten times the bytes).
minimise() {
  local target="$1" kept="fuzz/corpus/$1" merged
  merged="$(mktemp -d)"
  mkdir -p "$kept" "$build/corpus/$target"
  "$fuzz_bin/fuzz_$target" -merge=1 -use_counters=0 -max_len="$max_len" "$merged" "$kept" "$build/corpus/$target" "$build/seeds/$target" 2>&1 | tail -1
  rm -rf "$kept"
  mv "$merged" "$kept"
  echo "$target: $(ls "$kept" | wc -l) inputs, $(du -sk "$kept" | cut -f1) KB kept"
}

# Replays the kept corpus: every input once, no fuzzing.
replay() {
  local target="$1" kept="fuzz/corpus/$1"
  [ -d "$kept" ] || return 0
  echo "replaying $(ls "$kept" | wc -l) inputs of $target" >&2
  "$fuzz_bin/fuzz_$target" -runs=0 -timeout="$per_input_seconds" -rss_limit_mb="$rss_limit_mb" -artifact_prefix="$build/crashes/$target-" "$kept" 2>&1 | tail -1
}

fuzz() {
  local target="$1" log="$build/$1.log"
  mkdir -p "$build/corpus/$target" "fuzz/corpus/$target"
  echo "fuzzing $target for ${seconds}s" >&2
  "$fuzz_bin/fuzz_$target" -max_total_time="$seconds" -max_len="$max_len" -timeout="$per_input_seconds" \
    -rss_limit_mb="$rss_limit_mb" -print_final_stats=1 $(dictionary "$target") \
    -artifact_prefix="$build/crashes/$target-" "$build/corpus/$target" "fuzz/corpus/$target" "$build/seeds/$target" \
    >"$log" 2>&1 || { tail -40 "$log" >&2; return 1; }
  awk -v target="$target" '/stat::number_of_executed_units/ {runs = $2} /stat::average_exec_per_sec/ {rate = $2}
    END {print target ": " runs " executions, " rate " per second"}' "$log"
}

failed=()
for target in "${targets[@]}"; do
  if [ "$mode" = --minimise ]; then
    minimise "$target"
    continue
  fi
  if [ "$mode" = short ] && ! replay "$target"; then
    failed+=("$target")
    continue
  fi
  fuzz "$target" || failed+=("$target")
done
[ ${#failed[@]} -eq 0 ] || echo "fuzzing found a fault in: ${failed[*]} (inputs in $build/crashes/)" >&2
echo "fuzzing: $((${#targets[@]} - ${#failed[@]})) passed, ${#failed[@]} failed"
[ ${#failed[@]} -eq 0 ]
