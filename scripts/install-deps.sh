#!/usr/bin/env bash
# Installs the Debian packages kestra needs, by purpose. The sets add up:
#   scripts/install-deps.sh              build and run the library and the
#                                        command line (what run-example.sh uses)
#   scripts/install-deps.sh --test       also everything scripts/test.sh runs:
#                                        GoogleTest, Wine, mingw, clang, Python, ...
#   scripts/install-deps.sh --bench      also the benchmark baselines (implies --test)
#   scripts/install-deps.sh --reference  also the 64-bit mingw compiler for
#                                        tools/gdi-reference
#   scripts/install-deps.sh --list ...   print the packages instead of installing
set -euo pipefail

build_packages=(
  cmake ninja-build g++ pkg-config
  libfreetype-dev libfontconfig-dev fontconfig fonts-liberation2
  libpng-dev libzip-dev libexpat1-dev libxml2-dev libcli11-dev
  libcairo2-dev libuchardet-dev
)
test_packages=(
  git locales libgtest-dev libgmock-dev googletest libxlsxwriter-dev ccache
  # Python module, its tests, pip install into a venv and dask workers.
  python3 python3-dev pybind11-dev python3-numpy python3-pandas python3-openpyxl
  python3-pytest python3-pil python3-venv python3-pip python3-setuptools python3-wheel
  python3-distributed
  # A font with CJK glyphs for the text tests.
  fonts-wqy-zenhei
  # Fuzz targets and sanitizers.
  clang lld llvm libclang-rt-14-dev
  # The Windows DLLs and their tests under Wine.
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 libz-mingw-w64-dev dpkg-dev wine wine32 wine64
  # Vector output checks, the browser build and its test.
  librsvg2-bin poppler-utils emscripten nodejs chromium
)
bench_packages=(libbenchmark-dev libmuparser-dev zlib1g-dev python3-matplotlib hyperfine)
reference_packages=(g++-mingw-w64-x86-64-posix)

packages=("${build_packages[@]}")
list_only=false
for option in "$@"; do
  case "$option" in
    --test) packages+=("${test_packages[@]}") ;;
    --bench) packages+=("${test_packages[@]}" "${bench_packages[@]}") ;;
    --reference) packages+=("${reference_packages[@]}") ;;
    --list) list_only=true ;;
    *) echo "install-deps.sh: unknown option $option (use --test, --bench, --reference, --list)" >&2
       exit 2 ;;
  esac
done
mapfile -t packages < <(printf '%s\n' "${packages[@]}" | sort -u)
if $list_only; then
  printf '%s\n' "${packages[@]}"
  exit 0
fi

sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
# wine32 is an i386 package.
if printf '%s\n' "${packages[@]}" | grep -qx wine32; then
  dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -q
$sudo apt-get -o DPkg::Lock::Timeout=1200 install -y -q --no-install-recommends "${packages[@]}"
