#!/usr/bin/env bash
# The MSVC-ABI host: tests/msvc_host built by clang in MSVC mode and linked
# by lld-link against kestra.lib, with no mingw compiler or runtime (its
# Windows declarations are its own, tests/msvc_host/include), run under Wine
# (wine32 for x86, wine64 for x64). Its pictures and report must be the bytes
# the same host writes on Linux against libkestra.so.
#   scripts/test-windows-msvc.sh x86|x64 [LIB_FOLDER INCLUDE_FOLDER]
# LIB_FOLDER holds kestra.dll and kestra.lib (default build-windows/<arch>,
# built when missing), INCLUDE_FOLDER kestra.h (default include/).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/windows-arch.sh"
arch=${1:?usage: test-windows-msvc.sh x86|x64 [LIB_FOLDER INCLUDE_FOLDER]}
processor=$(windows_processor "$arch")
lib=${2:-$root/build-windows/$arch}
include=${3:-$root/include}
source="$root/tests/msvc_host"
linux="$root/build"

[[ -n ${2:-} || -f $lib/kestra.lib ]] || "$root/scripts/build-windows.sh" "$arch"
[[ -f "$linux/build.ninja" ]] || cmake -S "$root" -B "$linux" -G Ninja -DCMAKE_BUILD_TYPE=Debug
cmake --build "$linux" --target abi_host

work="$lib/msvc-host"
rm -rf "$work"
mkdir -p "$work/linux" "$work/wine"

# Import libraries of the system DLLs the host calls; 64-bit names carry no
# stdcall decoration.
machine=i386
[[ $arch == x64 ]] && machine=i386:x86-64
for dll in kernel32 gdi32; do
  if [[ $arch == x64 ]]; then
    sed 's/@[0-9]*$//' "$source/$dll.def" >"$work/$dll.def"
  else
    cp "$source/$dll.def" "$work/$dll.def"
  fi
  llvm-dlltool -m "$machine" -k -d "$work/$dll.def" -l "$work/$dll.lib"
done

flags=(--target="$processor-pc-windows-msvc" -std=c++20 -O2 -ffreestanding -fno-exceptions
       -fno-rtti -fno-threadsafe-statics -Wall -Wextra -Werror
       -I"$source/include" -I"$include")
clang "${flags[@]}" -fsyntax-only "$root/tests/abi/record_layout.cpp"
for file in host host_os_win32; do
  clang "${flags[@]}" -c "$source/$file.cpp" -o "$work/$file.obj"
done
lld-link /nologo /nodefaultlib /entry:host_entry /subsystem:console /out:"$work/wine/host.exe" \
  "$work/host.obj" "$work/host_os_win32.obj" "$lib/kestra.lib" "$work/kernel32.lib" \
  "$work/gdi32.lib"

imports=$(llvm-readobj --coff-imports "$work/wine/host.exe" | awk '/Name:/ && /\.dll/ { print tolower($2) }' |
  sort | tr '\n' ' ')
echo "MSVC-ABI host ($arch) imports: $imports"
if [[ $imports != "gdi32.dll kernel32.dll kestra.dll " ]]; then
  echo "the host imports more than kestra.dll, kernel32.dll and gdi32.dll" >&2
  exit 1
fi

# Each host's report is also its output; a failing host shows it.
run_host() {
  local folder=$1
  shift
  (cd "$folder" && "$@" >"$folder.txt") || { cat "$folder.txt"; exit 1; }
}
run_host "$work/linux" "$linux/tests/msvc_host/abi_host"
. "$root/scripts/windows-wine.sh"
wine_prefix_with_linux_font "$root/build-windows/wine-differential"
cp "$lib/kestra.dll" "$work/wine/"
run_host "$work/wine" wine host.exe
rm "$work/wine/host.exe" "$work/wine/kestra.dll"

if ! diff -r "$work/linux" "$work/wine"; then
  diff -u "$work/linux/report.txt" "$work/wine/report.txt" || true
  echo "the MSVC-ABI host ($arch) wrote other bytes than on Linux" >&2
  exit 1
fi
echo "MSVC-ABI host ($arch): $(find "$work/wine" -type f | wc -l) files byte-identical to Linux"
