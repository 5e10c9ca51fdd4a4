#!/usr/bin/env bash
# Builds kestra.dll and the Windows test programs (scripts/build-windows.sh)
# and runs them under 32-bit Wine, headless, in a Wine prefix kept in
# build-windows/: the test suite, the DLL's export and import tables, and a
# host that loads the DLL by name.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build-windows.sh

# The prefix is made once, before tests run side by side.
if [[ ! -f build-windows/wine-prefix/system.reg ]]; then
  tests/windows/run-wine.sh build-windows wineboot --init
  WINEPREFIX="$PWD/build-windows/wine-prefix" wineserver --wait
fi
ctest --test-dir build-windows --output-on-failure -j "$(nproc)"
