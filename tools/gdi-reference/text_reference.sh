#!/bin/sh
# Builds text_reference.cpp with mingw and runs it under Wine, writing the
# real-GDI text reference into tests/data/platform/text/.
# The kernel here runs no 32-bit code, so the 64-bit Wine and compiler are
# used; GDI's text code is the same in both.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-"$here/../../tests/data/platform/text"}
build=$(mktemp -d)
trap 'rm -rf "$build"' EXIT
x86_64-w64-mingw32-g++ -std=c++17 -O1 -static -o "$build/text_reference.exe" \
  "$here/text_reference.cpp" -lgdi32 -luser32
mkdir -p "$out"
WINEPREFIX=${WINEPREFIX:-/tmp/wine-text-reference} WINEDEBUG=-all \
  /usr/lib/wine/wine64 "$build/text_reference.exe" "$(winepath -w "$out" 2>/dev/null || echo "$out")"
