#!/usr/bin/env bash
# A short fuzz run of every fuzz target (fuzz/*_fuzz.cpp) under
# AddressSanitizer and UndefinedBehaviorSanitizer: SECONDS each (30 unless
# given) from the committed corpus, into a throw-away work corpus.
#   scripts/test-fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
jobs=$(nproc)

CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKESTRA_SANITIZE=ON -DKESTRA_BUILD_FUZZ=ON -DKESTRA_BUILD_TESTS=OFF
names=()
for source in fuzz/*_fuzz.cpp; do
  name=$(basename "$source" _fuzz.cpp)
  names+=("$name")
done
cmake --build build-fuzz -j "$jobs" --target "${names[@]/#/fuzz_}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for name in "${names[@]}"; do
  mkdir -p "$work/$name" "fuzz/corpus/$name"
  echo "fuzz_$name: ${seconds}s"
  build-fuzz/fuzz/fuzz_"$name" "$work/$name" "fuzz/corpus/$name" -max_total_time="$seconds" \
    -rss_limit_mb=4096 -timeout=60 -artifact_prefix="$work/$name-" -print_final_stats=1 \
    2> "$work/$name.log" || { tail -60 "$work/$name.log"; exit 1; }
  grep -E '^stat::number_of_executed_units|^#[0-9]+ *DONE' "$work/$name.log" || true
done
