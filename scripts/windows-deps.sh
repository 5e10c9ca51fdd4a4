#!/usr/bin/env bash
# Cross-builds expat and libzip (and libxlsxwriter for the tests) for one
# Windows architecture from Debian's own source packages, as static libraries
# under <folder>/prefix; zlib comes built by Debian (libz-mingw-w64-dev). A
# library whose stamp names the same Debian version and whose files are all
# there is not built again. Runs that share the folder wait for each other.
#   scripts/windows-deps.sh x86|x64 [folder]
#   (default folder: windows_deps_folder in scripts/windows-arch.sh)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/windows-arch.sh"
arch=${1:?usage: windows-deps.sh x86|x64 [folder]}
processor=$(windows_processor "$arch")
folder=${2:-$(windows_deps_folder "$arch")}
deps="$(mkdir -p "$folder" && cd "$folder" && pwd)"
prefix="$deps/prefix"
sources="$deps/sources"
toolchain="$root/cmake/mingw.cmake"
jobs=$(nproc)
mkdir -p "$prefix" "$sources"
exec 9>"$deps/.lock"
flock 9

# shellcheck source=scripts/debian-source.sh
. "$root/scripts/debian-source.sh"

cmake_build() {
  local source=$1 build=$2
  shift 2
  cmake -S "$source" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DKESTRA_WINDOWS_PROCESSOR="$processor" \
    -DKESTRA_WINDOWS_DEPS="$prefix" \
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
dependency expat build_expat include/expat.h lib/libexpat.a
dependency libzip build_libzip include/zip.h lib/libzip.a lib/cmake/libzip/libzip-config.cmake
dependency libxlsxwriter build_libxlsxwriter include/xlsxwriter.h lib/libxlsxwriter.a
