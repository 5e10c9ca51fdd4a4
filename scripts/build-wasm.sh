#!/usr/bin/env bash
# Installs what the browser build needs and builds it into build-wasm/:
# kestra.mjs (the JavaScript API) over kestra-core.mjs and kestra.wasm, and
# the page index.html. The dependencies are cross-built from Debian's source
# packages by scripts/wasm-deps.sh; nothing else is fetched.
#   scripts/build-wasm.sh [extra cmake arguments]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-wasm"

# shellcheck source=scripts/debian-source.sh
. "$root/scripts/debian-source.sh"
install_missing cmake ninja-build dpkg-dev emscripten binaryen nodejs libcli11-dev fontconfig fonts-liberation2

# Debian's emscripten runs its optimizer with Node, which finds acorn here.
export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"
"$root/scripts/wasm-deps.sh" "$build/deps"

export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$root}"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
emcmake cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DKESTRA_WASM_DEPS="$build/deps/prefix" "${launcher[@]}" "$@"
cmake --build "$build" -j "$(nproc)"
