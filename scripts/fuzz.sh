#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for the given seconds, starting from its corpus in
# fuzz/corpus/<target>/. Inputs found on the way are kept in a scratch folder, not in the
# repository. Any crash, sanitizer report, hang (-timeout), memory growth (-rss_limit_mb,
# -malloc_limit_mb) or leak fails the run; the failing input is kept and its replay printed.
# Usage: scripts/fuzz.sh BUILD_DIR SECONDS
set -uo pipefail
build=${1:?fuzz build folder}
seconds=${2:?seconds per target}
root=$(cd "$(dirname "$0")/.." && pwd)
work="$build/fuzz-work"
mkdir -p "$work"
failed=()
printf '%-22s %12s %10s %8s  %s\n' target executions exec/s corpus result
for corpus in "$root"/fuzz/corpus/*/; do
  target=$(basename "$corpus")
  binary="$build/bin/$target"
  if [ ! -x "$binary" ]; then
    echo "$target: not built ($binary)" >&2
    failed+=("$target")
    continue
  fi
  found="$work/$target"
  rm -rf "$found" "$work/$target"-* && mkdir -p "$found"
  log="$work/$target.log"
  "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=512 \
    -print_final_stats=1 -artifact_prefix="$work/$target-" "$found" "$corpus" >"$log" 2>&1
  status=$?
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  units=$(find "$found" "$corpus" -type f | wc -l)
  result=ok
  if [ $status -ne 0 ]; then
    result=FAILED
    failed+=("$target")
  fi
  printf '%-22s %12s %10s %8s  %s\n' "$target" "${executions:-?}" "${rate:-?}" "$units" "$result"
  if [ $status -ne 0 ]; then
    grep -E 'ERROR|SUMMARY|property broken|runtime error|Test unit written' "$log" | head -20 | sed 's/^/    /'
    for input in "$work/$target"-*; do
      [ -f "$input" ] && echo "    replay: $binary $input"
    done
    echo "    whole log: $log"
  fi
done
if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzzing failed: ${failed[*]}" >&2
  exit 1
fi
