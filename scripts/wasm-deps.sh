#!/usr/bin/env bash
# Cross-builds zlib, libpng, FreeType, expat, libzip, libxml2 and uchardet for
# WebAssembly with Debian's emscripten, from Debian's own source packages, as
# static libraries under <folder>/prefix. A library whose stamp names the same
# Debian version (and emscripten version) is not built again. The finished
# prefix is kept outside the clone as well, so a fresh build folder takes it
# from there instead of building again.
#   scripts/wasm-deps.sh [folder]   (default: build-wasm/deps)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
deps="$(mkdir -p "${1:-$root/build-wasm/deps}" && cd "${1:-$root/build-wasm/deps}" && pwd)"
prefix="$deps/prefix"
sources="$deps/sources"
shared="${XDG_CACHE_HOME:-$HOME/.cache}/kestra/wasm-deps-$(cat /etc/debian_version)"
toolchain=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake
jobs=$(nproc)
stamp_suffix=" emscripten $(dpkg-query -W -f='${Version}' emscripten)"
export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"
mkdir -p "$prefix" "$sources"

# shellcheck source=scripts/debian-source.sh
. "$root/scripts/debian-source.sh"

cmake_build() {
  local source=$1 build=$2
  shift 2
  cmake -S "$source" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_FIND_ROOT_PATH="$prefix" \
    -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DBUILD_SHARED_LIBS=OFF -DCMAKE_POLICY_DEFAULT_CMP0074=NEW "$@" >&2
  cmake --build "$build" -j "$jobs" >&2
  cmake --install "$build" >&2
}

# Its own configure: the CMake list of Debian's source names a Windows
# resource file the package leaves out.
build_zlib() {
  (cd "$1" && emconfigure ./configure --static --prefix="$prefix" >&2 &&
    emmake make -j "$jobs" libz.a >&2 && emmake make install >&2)
}

build_libpng() {
  cmake_build "$1" "$deps/build-libpng" -DPNG_SHARED=OFF -DPNG_TESTS=OFF \
    -DPNG_EXECUTABLES=OFF -DPNG_HARDWARE_OPTIMIZATIONS=OFF -DZLIB_ROOT="$prefix"
}

# As Debian configures it, less HarfBuzz, Brotli and bzip2: glyph outlines
# and hinting do not depend on them.
build_freetype() {
  cmake_build "$1" "$deps/build-freetype" -DFT_REQUIRE_ZLIB=ON -DFT_REQUIRE_PNG=ON \
    -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON -DFT_DISABLE_BZIP2=ON \
    -DZLIB_ROOT="$prefix"
}

# CMake's type-size checks misread emscripten's output; wasm32's sizes are given.
build_libzip() {
  local sizes=() size
  for size in INT8_T_LIBZIP=1 UINT8_T_LIBZIP=1 INT16_T_LIBZIP=2 UINT16_T_LIBZIP=2 \
      INT32_T_LIBZIP=4 UINT32_T_LIBZIP=4 INT64_T_LIBZIP=8 UINT64_T_LIBZIP=8 SHORT_LIBZIP=2 \
      INT_LIBZIP=4 LONG_LIBZIP=4 LONG_LONG_LIBZIP=8 SIZEOF_OFF_T=8 SIZEOF_SIZE_T=4; do
    sizes+=("-DHAVE_${size%=*}=TRUE" "-D$size")
  done
  rm -rf "$deps/build-libzip"
  cmake_build "$1" "$deps/build-libzip" "${sizes[@]}" -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF \
    -DENABLE_ZSTD=OFF -DENABLE_OPENSSL=OFF -DENABLE_GNUTLS=OFF -DENABLE_MBEDTLS=OFF \
    -DENABLE_COMMONCRYPTO=OFF -DENABLE_WINDOWS_CRYPTO=OFF -DBUILD_TOOLS=OFF \
    -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF -DBUILD_OSSFUZZ=OFF \
    -DZLIB_ROOT="$prefix"
}

# Declared charsets go through the C library's iconv, as on Linux. Without
# threads: pthread.h must not be seen, or threads.c takes the threaded path.
build_libxml2() {
  cmake_build "$1" "$deps/build-libxml2" -DLIBXML2_WITH_PYTHON=OFF -DLIBXML2_WITH_LZMA=OFF \
    -DLIBXML2_WITH_ZLIB=OFF -DLIBXML2_WITH_ICU=OFF -DLIBXML2_WITH_THREADS=OFF \
    -DLIBXML2_WITH_PROGRAMS=OFF -DLIBXML2_WITH_TESTS=OFF -DLIBXML2_WITH_HTTP=OFF \
    -DLIBXML2_WITH_FTP=OFF -DLIBXML2_WITH_MODULES=OFF -DLIBXML2_WITH_ICONV=ON -DHAVE_PTHREAD_H=
}

# The table reader's encoding guess; its command-line program is not needed.
build_uchardet() {
  cmake_build "$1" "$deps/build-uchardet" -DBUILD_BINARY=OFF -DBUILD_STATIC=ON
}

# Takes the shared prefix where the build folder has none yet.
if [[ ! -f $prefix/.freetype.version && -f $shared/prefix/.freetype.version ]]; then
  cp -a "$shared/prefix/." "$prefix/"
fi

ensure_source_index
dependency zlib build_zlib
dependency libpng1.6 build_libpng
dependency freetype build_freetype
dependency expat build_expat
dependency libzip build_libzip
dependency libxml2 build_libxml2
dependency uchardet build_uchardet include/uchardet/uchardet.h lib/libuchardet.a

mkdir -p "$shared/prefix"
cp -a "$prefix/." "$shared/prefix/"
