#!/usr/bin/env bash
# Builds kestra as packagers do (Release, warnings as errors here) and runs
# the whole test suite on that build.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTRA_WERROR=ON
cmake --build build-release -j "$jobs"
ctest --test-dir build-release --output-on-failure -j "$jobs"
