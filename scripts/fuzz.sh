#!/usr/bin/env bash
# Builds the parsers' fuzz targets (clang, AddressSanitizer,
# UndefinedBehaviorSanitizer) in build-fuzz and runs each for SECONDS
# (default 600). Prints per target the runs, coverage and crashes; exits
# non-zero when any target crashed. Crash inputs are kept in
# build-fuzz/crashes/TARGET, the corpus grown by the runs in
# build-fuzz/corpus/TARGET (the seeds stay in fuzz/corpus/TARGET).
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QW_FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${1:-600}
shift || true

# QW_FUZZ_NO_BUILD=1 runs what is built (two runs side by side share one build).
if [ "${QW_FUZZ_NO_BUILD:-0}" != 1 ]; then
  "$root/scripts/install-deps.sh"
  cmake -S "$root" -B "$build" -DQW_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=Debug >/dev/null
  nice cmake --build "$build" -j"${QW_JOBS:-2}" >/dev/null
fi

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for path in "$build"/fuzz/fuzz_*; do
    [ -x "$path" ] && [ -f "$path" ] && targets+=("$(basename "$path" | sed 's/^fuzz_//')")
  done
fi

# Readers that take files find more in the files the program ships.
extra_seeds() {
  case "$1" in
    language) echo "$root/data/Languages" ;;
  esac
}

# The sanitizers' reports say where, with names; a finding aborts the run.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:symbolize=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=offscreen
# The targets write and replace files for every input; in memory that costs
# no disk flushes.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi

failed=0
printf '%-20s %10s %8s %8s %8s\n' target runs cov ft crashes
for target in "${targets[@]}"; do
  corpus=$build/corpus/$target
  crashes=$build/crashes/$target
  log=$build/logs/$target.log
  mkdir -p "$corpus" "$crashes" "$(dirname "$log")"
  status=0
  # Inputs kept from earlier runs stay; only this run's findings count.
  touch "$build/logs/$target.start"
  # Crash files go to crashes/ under libFuzzer's own names; -timeout counts
  # a hang as a finding as well.
  nice "$build/fuzz/fuzz_$target" "$corpus" "$root/fuzz/corpus/$target" $(extra_seeds "$target") \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$crashes/" >"$log" 2>&1 || status=$?
  # The last status line ("#N DONE cov: C ft: F ...") has the totals.
  last=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
  runs=$(grep -oE '^stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$' || true)
  cov=$(sed -nE 's/.* cov: ([0-9]+).*/\1/p' <<<"$last")
  ft=$(sed -nE 's/.* ft: ([0-9]+).*/\1/p' <<<"$last")
  found=$(find "$crashes" -type f -newer "$build/logs/$target.start" | wc -l)
  printf '%-20s %10s %8s %8s %8s\n' "$target" "${runs:-?}" "${cov:-?}" "${ft:-?}" "$found"
  if [ "$status" -ne 0 ] || [ "$found" -ne 0 ]; then
    failed=1
    echo "  $target: see $log and $crashes" >&2
  fi
done
exit "$failed"
