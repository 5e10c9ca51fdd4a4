#!/usr/bin/env bash
# Installs what the build needs, builds kestra and renders the built-in
# example diagram to example.bmp (and example.png) in the current directory.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$root/build" -j "$(nproc)" --target kestra_cli
"$root/build/kestra" example example.bmp
"$root/build/kestra" example example.png
