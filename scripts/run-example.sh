#!/usr/bin/env bash
# Installs what building the command line needs (the default set of
# install-deps.sh), builds the kestra program only, and renders the built-in
# example diagram to example.bmp and example.png in the current directory.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build-example" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKESTRA_BUILD_TESTS=OFF -DKESTRA_BUILD_PYTHON=OFF >/dev/null
cmake --build "$root/build-example" -j "$(nproc)" --target kestra_cli
"$root/build-example/kestra" example example.bmp
"$root/build-example/kestra" example example.png
# PNG: width and height are the big-endian words at bytes 16 and 20.
read -r width height < <(od -An -tu1 -j16 -N8 example.png |
  awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
echo "example.png: ${width}x${height} pixels, $(stat -c %s example.png) bytes;" \
     "example.bmp: $(stat -c %s example.bmp) bytes (in $PWD)"
