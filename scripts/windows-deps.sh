#!/usr/bin/env bash
# Cross-builds expat and libzip (and libxlsxwriter for the tests) for 32-bit
# Windows from Debian's own source packages, as static libraries under
# <folder>/prefix; zlib comes built by Debian (libz-mingw-w64-dev). A library
# whose stamp names the same Debian version is not built again.
#   scripts/windows-deps.sh [folder]   (default: build-windows/deps)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
deps="$(mkdir -p "${1:-$root/build-windows/deps}" && cd "${1:-$root/build-windows/deps}" && pwd)"
prefix="$deps/prefix"
sources="$deps/sources"
toolchain="$root/cmake/mingw-i686.cmake"
jobs=$(nproc)
mkdir -p "$prefix" "$sources"

# shellcheck source=scripts/debian-source.sh
. "$root/scripts/debian-source.sh"

cmake_build() {
  local source=$1 build=$2
  shift 2
  cmake -S "$source" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DKESTRA_WINDOWS_DEPS="$prefix" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF "$@" >&2
  cmake --build "$build" -j "$jobs" >&2
  cmake --install "$build" >&2
}

build_libzip() {
  local folder=$1
  cmake_build "$folder" "$deps/build-libzip" -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF \
    -DENABLE_ZSTD=OFF -DENABLE_OPENSSL=OFF -DENABLE_GNUTLS=OFF -DENABLE_MBEDTLS=OFF \
    -DENABLE_COMMONCRYPTO=OFF -DENABLE_WINDOWS_CRYPTO=OFF -DBUILD_TOOLS=OFF \
    -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF -DBUILD_OSSFUZZ=OFF -DZLIB_USE_STATIC_LIBS=ON
}

# Only the tests use it: they write their .xlsx workbooks with it.
build_libxlsxwriter() {
  local folder=$1
  cmake_build "$folder" "$deps/build-libxlsxwriter" -DBUILD_TESTS=OFF -DBUILD_EXAMPLES=OFF \
    -DZLIB_USE_STATIC_LIBS=ON
}

ensure_source_index
dependency expat build_expat
dependency libzip build_libzip
dependency libxlsxwriter build_libxlsxwriter
