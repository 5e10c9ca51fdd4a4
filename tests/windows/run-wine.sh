#!/usr/bin/env bash
# Runs a Windows program under Wine (wine32 or wine64, as the program needs),
# headless, in a Wine prefix kept in the build folder (created on first use).
#   run-wine.sh BUILD_DIR PROGRAM [ARGUMENTS...]
set -euo pipefail
build=$(cd "$1" && pwd)
shift
export WINEPREFIX="$build/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
cd "$build"
exec wine "$@"
