#!/usr/bin/env bash
# Builds the Python module and the C++ host that draws its reference
# pictures, then runs the binding's pytest suite under Debian's interpreter.
# Usage: scripts/test-python.sh [build-dir]   (default build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

cmake -S . -B "$build" -G Ninja -DKESTRA_BUILD_PYTHON=ON
cmake --build "$build" -j "$(nproc)" --target kestra_python kestra_python_reference
PYTHONPATH="$build/python" KESTRA_PYTHON_REFERENCE="$build/python/kestra_python_reference" \
  /usr/bin/python3 -m pytest -q -p no:cacheprovider tests/python
