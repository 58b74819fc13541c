#!/usr/bin/env bash
# Runs every libFuzzer harness of build-fuzz for FUZZ_SECONDS (default 60) each, starting from its
# committed corpus in tests/fuzz/corpus/<harness>/. New inputs go to build-fuzz/corpus/<harness>/, a
# failing input to build-fuzz/artifacts/<harness>/. Prints the executions per second of each.
# With FUZZ_MERGE=1 the inputs that reach code the committed corpus does not are merged into it
# (libFuzzer's -merge=1), so that the test build's replay covers what the run reached.
# Usage: scripts/fuzz.sh [harness...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
  for dir in tests/fuzz/corpus/*/; do harnesses+=("$(basename "$dir")"); done
fi

summary=()
status=0
for h in "${harnesses[@]}"; do
  bin=build-fuzz/tests/fuzz/fuzz_$h
  [ -x "$bin" ] || { echo "error: $bin is not built (make fuzz builds it)" >&2; exit 1; }
  mkdir -p "build-fuzz/corpus/$h" "build-fuzz/artifacts/$h"
  log=build-fuzz/fuzz_$h.log
  echo "== $h: $seconds s"
  if ASAN_OPTIONS=halt_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "$bin" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="build-fuzz/artifacts/$h/" \
    "build-fuzz/corpus/$h" "tests/fuzz/corpus/$h" >"$log" 2>&1; then
    result=ok
  else
    result="FAILED (see $log and build-fuzz/artifacts/$h/)"
    status=1
  fi
  if [ "${FUZZ_MERGE:-0}" = 1 ] && [ "$result" = ok ]; then
    before=$(ls "tests/fuzz/corpus/$h" | wc -l)
    "$bin" -merge=1 "tests/fuzz/corpus/$h" "build-fuzz/corpus/$h" >>"$log" 2>&1
    result="ok, corpus $before -> $(ls "tests/fuzz/corpus/$h" | wc -l) inputs"
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  time=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  summary+=("$(printf '%-14s %10s runs %8s exec/s  %s' "$h" "${runs:-?}" "${time:-?}" "$result")")
done
printf '%s\n' "${summary[@]}"
exit $status
