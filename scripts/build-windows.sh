#!/usr/bin/env bash
# Installs what the Windows build needs and cross-builds kestra.dll, its
# import libraries (mingw's libkestra.dll.a, MSVC's kestra.lib), kestra.def
# and the Windows test programs into build-windows/<arch>/, for x86 (32-bit)
# and x64 (64-bit), or for the architectures named.
#   scripts/build-windows.sh [x86|x64]... [-- extra cmake arguments]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/windows-arch.sh"

architectures=()
while (($#)) && [[ $1 != -- ]]; do
  windows_processor "$1" >/dev/null
  architectures+=("$1")
  shift
done
[[ ${1:-} == -- ]] && shift
((${#architectures[@]})) || architectures=("${windows_architectures[@]}")

packages=(cmake ninja-build python3 clang lld llvm dpkg-dev util-linux
          g++-mingw-w64-i686 g++-mingw-w64-x86-64 libz-mingw-w64-dev googletest)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
done
if ((${#missing[@]})); then
  sudo=""
  [[ $(id -u) -eq 0 ]] || sudo="sudo"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=1200 install -y -q \
    --no-install-recommends "${missing[@]}"
fi

export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$root}"
launcher=()
command -v ccache >/dev/null &&
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
for arch in "${architectures[@]}"; do
  deps=$(windows_deps_folder "$arch")
  "$root/scripts/windows-deps.sh" "$arch" "$deps"
  build="$root/build-windows/$arch"
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw.cmake" \
    -DKESTRA_WINDOWS_PROCESSOR="$(windows_processor "$arch")" \
    -DKESTRA_WINDOWS_DEPS="$deps/prefix" "${launcher[@]}" "$@"
  cmake --build "$build" -j "$(nproc)"
done
