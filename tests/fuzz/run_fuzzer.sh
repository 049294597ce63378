#!/usr/bin/env bash
# run_fuzzer.sh TARGET SECONDS SCRATCH_CORPUS SEED_CORPUS [extra libFuzzer flags...]
# Runs one fuzz target for a bounded time and prints its execution count.
# MAVU_FUZZ_SECONDS in the environment overrides SECONDS (a longer run under ctest).
set -euo pipefail
target=$1 seconds=${MAVU_FUZZ_SECONDS:-$2} scratch=$3 seeds=$4
shift 4
mkdir -p "$scratch"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$scratch/" "$@" "$scratch" "$seeds" >"$log" 2>&1 || status=$?
grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|INFO: Done|==[0-9]+==ERROR|SUMMARY)' "$log" || true
if [[ $status -ne 0 ]]; then
    tail -n 60 "$log"
    exit "$status"
fi
