#!/usr/bin/env bash
# Builds the library and the thread tests under ThreadSanitizer and runs
# them: every export on eight threads at once, and concurrent plots.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

CXX=clang++ cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRA_TSAN=ON
cmake --build build-tsan -j "$jobs" --target test_stress test_plot
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/tests/stress/tsan.supp"
KESTRA_STRESS_ROUNDS=4 build-tsan/tests/stress/test_stress
build-tsan/tests/test_plot --gtest_filter='PlotThreads.*'
