#!/usr/bin/env bash
# Builds kestra.dll of one architecture and its Windows test programs
# (scripts/build-windows.sh) and runs them under Wine (wine32 for x86, wine64
# for x64), headless, in a Wine prefix kept in build-windows/<arch>/: the
# test suite, the DLL's export and import tables, and the hosts.
#   scripts/test-windows.sh [x86|x64]   (default x86)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/windows-arch.sh
arch=${1:-x86}
windows_processor "$arch" >/dev/null
build="build-windows/$arch"
scripts/build-windows.sh "$arch"

# The prefix is made once, before tests run side by side.
if [[ ! -f $build/wine-prefix/system.reg ]]; then
  tests/windows/run-wine.sh "$build" wineboot --init
  WINEPREFIX="$PWD/$build/wine-prefix" wineserver --wait
fi
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
