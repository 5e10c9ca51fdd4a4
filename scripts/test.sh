#!/usr/bin/env bash
# Builds kestra and runs the whole test suite: once plain, once under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKESTRA_WERROR=ON
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKESTRA_SANITIZE=ON -DKESTRA_WERROR=ON
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"
scripts/test-python.sh

# Every fuzz target for 30 s from its corpus, and the exports on eight
# threads under ThreadSanitizer.
scripts/test-fuzz.sh
scripts/test-tsan.sh

# Release build and tests; then install it and build a host program against it.
scripts/test-release.sh
scripts/test-install.sh

# kestra.dll built with mingw, its tests run under 32-bit Wine.
scripts/test-windows.sh
scripts/test-windows-diff.sh

# Every export on eight threads for 30 s; the file forms on a full disk.
scripts/test-soak.sh
scripts/test-full-disk.sh
