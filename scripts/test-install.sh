#!/usr/bin/env bash
# Installs the Release build into a temporary prefix and builds the host
# example of examples/host against it three ways: find_package with the
# shared and with the static library, and pkg-config. Each host must draw
# its two BMP files. Needs build-release (scripts/test-release.sh).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"

cmake --install "$root/build-release" --prefix "$prefix" >/dev/null
libdir="$(dirname "$(find "$prefix" -name 'libkestra.so' | head -n 1)")"

check_pictures() {  # the host's two files are BMP pictures
  for picture in "$1/diagram.bmp" "$1/plot.bmp"; do
    [[ $(head -c 2 "$picture") == BM && $(stat -c %s "$picture") -gt 1000 ]] || {
      echo "test-install: $picture is no picture" >&2; exit 1; }
  done
}

run_host() {  # NAME HOST_PROGRAM
  mkdir -p "$work/$1"
  LD_LIBRARY_PATH="$libdir" "$2" "$work/$1"
  check_pictures "$work/$1"
  echo "test-install: $1 ok"
}

for linking in shared static; do
  static=OFF; [[ $linking == static ]] && static=ON
  cmake -S "$root/examples/host" -B "$work/build-$linking" -G Ninja \
    -DCMAKE_PREFIX_PATH="$prefix" -DHOST_STATIC=$static >/dev/null
  cmake --build "$work/build-$linking" >/dev/null
  run_host "cmake-$linking" "$work/build-$linking/host"
done

export PKG_CONFIG_PATH="$libdir/pkgconfig"
[[ $(pkg-config --modversion kestra) == 0.2.0 ]]
# shellcheck disable=SC2046  # the flags are words
g++ -std=c++17 "$root/examples/host/host.cpp" -o "$work/host-pkg-config" \
  $(pkg-config --cflags --libs kestra)
run_host pkg-config "$work/host-pkg-config"

"$prefix/bin/kestra" --version
"$prefix/bin/kestra" plot "y=x" -o "$work/installed-program.png"
echo "test-install: the installed kestra program runs"
