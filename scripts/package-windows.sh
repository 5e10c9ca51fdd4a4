#!/usr/bin/env bash
# Writes the Windows release archive dist/kestra-<version>-windows.zip: x86/
# and x64/ with kestra.dll, kestra.lib, libkestra.dll.a and kestra.def,
# include/kestra.h and a README. Builds the DLLs when missing.
#   scripts/package-windows.sh
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/windows-arch.sh"
version=$(kestra_version)
archive="$root/dist/kestra-$version-windows.zip"
stage="$root/dist/kestra-$version-windows"

rm -rf "$stage" "$archive"
for arch in "${windows_architectures[@]}"; do
  build="$root/build-windows/$arch"
  [[ -f $build/kestra.lib && -f $build/kestra.dll ]] || "$root/scripts/build-windows.sh" "$arch"
  mkdir -p "$stage/$arch"
  cp "$build/kestra.dll" "$build/kestra.lib" "$build/libkestra.dll.a" "$build/kestra.def" \
    "$stage/$arch/"
done
mkdir -p "$stage/include"
cp "$root/include/kestra.h" "$stage/include/"
sed "s/@VERSION@/$version/" "$root/packaging/windows/README.md" >"$stage/README.md"
(cd "$stage" && python3 -m zipfile -c "$archive" README.md include x86 x64)
rm -rf "$stage"
echo "$archive"
