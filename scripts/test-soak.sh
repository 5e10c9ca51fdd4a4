#!/usr/bin/env bash
# Every export, mixed, on eight threads for a given time (default 30 s) on the
# Release build: resident memory flat after the warm-up, no live GDI object
# and no extra file descriptor at the end (bench/soak/soak.cpp).
#   scripts/test-soak.sh [SECONDS] [THREADS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
threads=${2:-8}
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTRA_WERROR=ON >/dev/null
cmake --build build-release -j "$(nproc)" --target soak
build-release/bench/soak/soak "$seconds" "$threads"
