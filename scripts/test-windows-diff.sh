#!/usr/bin/env bash
# The differential test: draws the same pictures through kestra.dll of one
# architecture with real GDI under Wine (wine32 for x86, wine64 for x64) and
# through the Linux build, and compares them pixel by pixel. Wine is given
# the font file the Linux build uses for "arial". Needs the Linux build in
# build/ and the Windows build in build-windows/<arch>/ (both are built here
# when missing).
#   scripts/test-windows-diff.sh [x86|x64]   (default x86)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/windows-arch.sh"
arch=${1:-x86}
windows_processor "$arch" >/dev/null
linux="$root/build"
windows="$root/build-windows/$arch"
out="$windows/differential"

[[ -f "$windows/kestra.dll" ]] || "$root/scripts/build-windows.sh" "$arch"
cmake --build "$windows" --target draw_pictures font_face
[[ -f "$linux/build.ninja" ]] || cmake -S "$root" -B "$linux" -G Ninja -DCMAKE_BUILD_TYPE=Debug
cmake --build "$linux" --target draw_pictures compare_pictures

. "$root/scripts/windows-wine.sh"
wine_prefix_with_linux_font "$root/build-windows/wine-differential"
font="$linux_font"
mkdir -p "$out"
face="$(wine "$windows/font_face.exe" "$(winepath -w "$out/wine-font.ttf")" | tr -d '\r')"
echo "Linux font for arial: $font"
echo "Wine font for arial: face \"$face\", $(stat -c %s "$out/wine-font.ttf") bytes of font data"
if ! cmp -s "$font" "$out/wine-font.ttf"; then
  echo "Wine does not use the Linux build's font file: text cannot be compared" >&2
  exit 1
fi
echo "Wine's font data is the file $font"

rm -rf "$out/linux" "$out/wine"
mkdir -p "$out/linux" "$out/wine"
linux_status=0
"$linux/tests/differential/draw_pictures" "$out/linux" "$root/tests/data" >"$out/linux.txt" ||
  linux_status=$?
wine_status=0
wine "$windows/draw_pictures.exe" "$(winepath -w "$out/wine")" \
  "$(winepath -w "$root/tests/data")" | tr -d '\r' >"$out/wine.txt" || wine_status=$?
if ! diff -u "$out/linux.txt" "$out/wine.txt"; then
  echo "the two builds returned different statuses" >&2
  exit 1
fi
"$linux/tests/differential/compare_pictures" "$out/linux.txt" "$out/linux" "$out/wine" \
  "$root/tests/data/diagram"
if ((linux_status || wine_status)); then
  echo "a case failed to draw" >&2
  exit 1
fi
echo "Differential test ($arch): ok"
