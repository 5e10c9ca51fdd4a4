#!/bin/sh
# Builds the real-GDI reference renderer with mingw and runs it under Wine,
# writing the raster fixtures to tests/data/platform/gdi. Needs the Debian
# packages wine64 and g++-mingw-w64-x86-64 (scripts/install-deps.sh
# --reference).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=${TMPDIR:-/tmp}/kestra-gdi-reference
mkdir -p "$work" "$root/tests/data/platform/gdi"

x86_64-w64-mingw32-g++ -std=c++20 -O1 -static -Wall -Wextra \
  -I"$root/tests/platform" "$here/raster_reference.cpp" -o "$work/raster_reference.exe" \
  -lgdi32 -luser32

loader=/usr/lib/wine/wine64
[ -x "$loader" ] || loader=wine
export WINEDEBUG=-all WINEPREFIX="$work/prefix" WINELOADER="$loader"
"$loader" "$work/raster_reference.exe" 'Z:'"$root/tests/data/platform/gdi" 2>/dev/null
