#!/usr/bin/env bash
# Installs the Debian packages kestra needs to build and test.
#   scripts/install-deps.sh          build and test
#   scripts/install-deps.sh --bench  also the benchmark baselines
#   scripts/install-deps.sh --reference  also the 64-bit mingw compiler
#                                        for tools/gdi-reference
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config git
  libgtest-dev libgmock-dev locales
  libfreetype-dev libfontconfig-dev fonts-liberation2
  libpng-dev libzip-dev libexpat1-dev libxlsxwriter-dev libxml2-dev libcli11-dev
  # Vector pictures: cairo writes PDF and smooth PNG.
  libcairo2-dev
  python3 python3-pandas python3-openpyxl
  g++-mingw-w64-i686
  pybind11-dev python3-dev python3-numpy python3-pytest python3-pil
  clang libclang-rt-14-dev
  # The Windows DLL and its tests under 32-bit Wine.
  libz-mingw-w64-dev googletest clang python3 dpkg-dev wine wine32 wine64
  # fc-match: the differential test gives Wine the Linux build's font file.
  fontconfig
  # The vector pictures' tests render SVG with librsvg and read PDF with poppler.
  librsvg2-bin poppler-utils
)
if [[ "${1:-}" == "--bench" ]]; then
  packages+=(libbenchmark-dev libmuparser-dev zlib1g-dev python3 python3-matplotlib python3-openpyxl)
fi

if [[ "${1:-}" == "--reference" ]]; then
  packages+=(g++-mingw-w64-x86-64-posix)
fi

sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
# wine32 is an i386 package.
dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${packages[@]}"
