#!/usr/bin/env bash
# Fuzzes the given targets one after another under AddressSanitizer and
# UndefinedBehaviorSanitizer, each until SECONDS have passed or RUNS inputs
# ran, from the committed corpus into a work corpus outside the tree. Findings
# land in the log folder as crash-*, leak-*, timeout-* or oom-* files.
#   scripts/fuzz-deep.sh SECONDS RUNS LOGDIR name...
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=$1 runs=$2 logs=$3
shift 3
mkdir -p "$logs"
for name in "$@"; do
  work="$logs/corpus-$name"
  mkdir -p "$work"
  nice -n 10 build-fuzz/fuzz/fuzz_"$name" "$work" "fuzz/corpus/$name" \
    -max_total_time="$seconds" -runs="$runs" -rss_limit_mb=4096 -timeout=60 \
    -artifact_prefix="$logs/$name-" -print_final_stats=1 > "$logs/$name.log" 2>&1 || true
  grep -E '^#[0-9]+.*(DONE|cov:)' "$logs/$name.log" | tail -1 || true
done
