#!/usr/bin/env bash
# Builds the Python module and the C++ host that draws its reference
# pictures, then runs the binding's pytest suite under Debian's interpreter:
# against build/, and against build-asan/ (AddressSanitizer and UBSan, the
# runtime preloaded into the interpreter) when scripts/test.sh made it.
set -euo pipefail
cd "$(dirname "$0")/.."

run_suite() {
  local build=$1
  shift
  cmake -S . -B "$build" -G Ninja -DKESTRA_BUILD_PYTHON=ON >/dev/null
  cmake --build "$build" -j "$(nproc)" --target kestra_python kestra_python_reference
  env "$@" PYTHONPATH="$build/python" \
    KESTRA_PYTHON_REFERENCE="$build/python/kestra_python_reference" \
    /usr/bin/python3 -m pytest -q -p no:cacheprovider tests/python
}

run_suite build
if [[ -d build-asan ]]; then
  # The interpreter's own allocations are no concern of ours: leaks off. A
  # small quarantine keeps freed pictures from looking like growth to
  # test_resources.py.
  run_suite build-asan LD_PRELOAD="$(g++ -print-file-name=libasan.so)" \
    ASAN_OPTIONS=detect_leaks=0:quarantine_size_mb=16 UBSAN_OPTIONS=print_stacktrace=1
fi
