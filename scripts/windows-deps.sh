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

sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"

# apt-get source needs the source index of the release the machine runs.
ensure_source_index() {
  local list=/etc/apt/sources.list.d/kestra-sources.sources
  if [[ ! -f $list ]]; then
    local codename
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    printf '%s\n' "Types: deb-src" "URIs: http://deb.debian.org/debian" \
      "Suites: $codename $codename-updates" "Components: main" \
      "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" | $sudo tee "$list" >/dev/null
    $sudo apt-get -o DPkg::Lock::Timeout=600 update -q
  fi
}

# The version apt would fetch for a source package.
source_version() {
  apt-cache showsrc "$1" | awk '/^Version:/ { print $2; exit }'
}

# Unpacks a source package into $sources and prints its folder.
unpack() {
  local package=$1 version=$2
  local folder="$sources/$package-$version"
  if [[ ! -d $folder ]]; then
    rm -rf "$sources/tmp" && mkdir -p "$sources/tmp"
    (cd "$sources/tmp" && apt-get source -q --only-source "$package=$version" >&2)
    local unpacked
    unpacked=$(find "$sources/tmp" -mindepth 1 -maxdepth 1 -type d | head -n 1)
    mv "$unpacked" "$folder"
    rm -rf "$sources/tmp"
  fi
  echo "$folder"
}

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

build_expat() {
  local folder=$1/expat
  # The sources test "#if XML_DTD == 1"; the template defines it empty.
  sed -i 's/^#cmakedefine XML_DTD$/#cmakedefine XML_DTD 1/' "$folder/expat_config.h.cmake"
  cmake_build "$folder" "$deps/build-expat" -DEXPAT_SHARED_LIBS=OFF \
    -DEXPAT_BUILD_TOOLS=OFF -DEXPAT_BUILD_EXAMPLES=OFF -DEXPAT_BUILD_TESTS=OFF \
    -DEXPAT_BUILD_DOCS=OFF -DEXPAT_BUILD_PKGCONFIG=OFF
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

# Every file of the prefix named (relative to it) is there.
files_present() {
  local file
  for file in "$@"; do
    [[ -f $prefix/$file ]] || return 1
  done
}

# Builds one library unless its stamp names the same version and the files
# the build takes from it are there.
dependency() {
  local package=$1 builder=$2
  shift 2
  local version stamp
  version=$(source_version "$package")
  [[ -n $version ]] || { echo "no source package $package" >&2; exit 1; }
  stamp="$prefix/.$package.version"
  if [[ -f $stamp && $(cat "$stamp") == "$version" ]] && files_present "$@"; then
    echo "$package $version ($arch): cached in $deps"
    return
  fi
  "$builder" "$(unpack "$package" "$version")"
  echo "$version" >"$stamp"
  echo "$package $version ($arch): built in $deps"
}

ensure_source_index
dependency expat build_expat include/expat.h lib/libexpat.a
dependency libzip build_libzip include/zip.h lib/libzip.a lib/cmake/libzip/libzip-config.cmake
dependency libxlsxwriter build_libxlsxwriter include/xlsxwriter.h lib/libxlsxwriter.a
