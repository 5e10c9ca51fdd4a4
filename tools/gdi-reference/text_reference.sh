#!/bin/sh
# Builds text_reference.cpp with mingw and runs it under Wine, writing the
# real-GDI text reference into tests/data/platform/text/.
# The 64-bit Wine and compiler are used (the same Wine sources as the 32-bit
# build the DLL's tests run under).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-"$here/../../tests/data/platform/text"}
build=$(mktemp -d)
trap 'rm -rf "$build"' EXIT
x86_64-w64-mingw32-g++ -std=c++17 -O1 -static -o "$build/text_reference.exe" \
  "$here/text_reference.cpp" -lgdi32 -luser32
mkdir -p "$out"
out=$(cd "$out" && pwd)
export WINEPREFIX=${WINEPREFIX:-/tmp/wine-text-reference} WINEDEBUG=-all
wine=/usr/lib/wine/wine64
"$wine" "$build/text_reference.exe" "$("$wine" winepath -w "$out")"
