#!/usr/bin/env bash
# Installs what the Windows build needs and cross-builds kestra.dll, its
# import library libkestra.dll.a and the Windows test programs into
# build-windows/.
#   scripts/build-windows.sh [extra cmake arguments]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-windows"

packages=(cmake ninja-build python3 clang dpkg-dev g++-mingw-w64-i686 libz-mingw-w64-dev googletest)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
done
if ((${#missing[@]})); then
  sudo=""
  [[ $(id -u) -eq 0 ]] || sudo="sudo"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

"$root/scripts/windows-deps.sh" "$build/deps"

export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$root}"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  -DKESTRA_WINDOWS_DEPS="$build/deps/prefix" "${launcher[@]}" "$@"
cmake --build "$build" -j "$(nproc)"
