#!/usr/bin/env bash
# Builds the browser build (scripts/build-wasm.sh) and tests it against the
# Linux build's command line: the JavaScript API under Node, then the page
# in headless Chromium. The reference command line is taken from the Debug
# build in build/ (KESTRA_NATIVE_BUILD to use another), built if needed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
native="${KESTRA_NATIVE_BUILD:-$root/build}"

# shellcheck source=scripts/debian-source.sh
. "$root/scripts/debian-source.sh"
install_missing chromium python3

"$root/scripts/build-wasm.sh" -DKESTRA_WERROR=ON
if [[ ! -f $native/build.ninja ]]; then
  cmake -S "$root" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKESTRA_WERROR=ON
fi
cmake --build "$native" -j "$(nproc)" --target kestra_cli

export KESTRA_WEB="$root/build-wasm" KESTRA_CLI="$native/kestra"
node --test "$root/tests/web/api.test.mjs"
python3 "$root/tests/web/browser_test.py" "$KESTRA_WEB" "$KESTRA_CLI"
