#!/usr/bin/env bash
# Checks the Windows release archive (written by scripts/package-windows.sh
# when missing): it holds exactly the files a Windows developer gets, and the
# MSVC-ABI host links against the archive's own import libraries and header
# and, with the archive's DLLs, draws what it draws on Linux.
#   scripts/check-package-windows.sh
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/windows-arch.sh"
version=$(kestra_version)
archive="$root/dist/kestra-$version-windows.zip"
unpacked="$root/build-windows/package-check"

[[ -f $archive ]] || "$root/scripts/package-windows.sh"
rm -rf "$unpacked"
mkdir -p "$unpacked"
python3 -m zipfile -e "$archive" "$unpacked"

expected=(README.md include/kestra.h)
for arch in "${windows_architectures[@]}"; do
  expected+=("$arch/kestra.dll" "$arch/kestra.lib" "$arch/libkestra.dll.a" "$arch/kestra.def")
done
if ! diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$unpacked" && find . -type f | sed 's|^\./||' | sort); then
  echo "the archive does not hold exactly the expected files" >&2
  exit 1
fi
grep -q "kestra $version for Windows" "$unpacked/README.md"

for arch in "${windows_architectures[@]}"; do
  "$root/scripts/test-windows-msvc.sh" "$arch" "$unpacked/$arch" "$unpacked/include"
done
echo "Windows archive $archive: ok"
