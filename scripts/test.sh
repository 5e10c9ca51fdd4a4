#!/usr/bin/env bash
# The test suite in named stages.
#   scripts/test.sh            every stage, in the order of the table below
#   scripts/test.sh --list     the stages and what each checks
#   scripts/test.sh STAGE...   the stages named, in the order given
# A stage is one row of the table: its name, the command it runs, what it
# checks. The first failing stage ends the run with its status.
set -euo pipefail
cd "$(dirname "$0")/.."

stages=(
  "debug        | debug_suite                  | Debug build with warnings as errors, the whole CTest suite"
  "asan         | asan_suite                   | the same under AddressSanitizer and UndefinedBehaviorSanitizer"
  "python       | scripts/test-python.sh       | the Python module's pytest suite, against build/ and build-asan/"
  "pip          | scripts/test-pip.sh          | pip install into a fresh venv, the pytest suite against the installed package"
  "fuzz         | scripts/test-fuzz.sh         | every fuzz target for 30 s from its corpus"
  "tsan         | scripts/test-tsan.sh         | every export on eight threads at once under ThreadSanitizer"
  "release      | scripts/test-release.sh      | Release build with warnings as errors, the whole CTest suite"
  "install      | scripts/test-install.sh      | install build-release, build and run examples/host three ways"
  "windows      | scripts/test-windows.sh x86      | the 32-bit kestra.dll built with mingw, its tests under wine32"
  "windows-diff | scripts/test-windows-diff.sh x86 | the same pictures through real GDI under wine32 and the Linux build"
  "windows64    | scripts/test-windows.sh x64      | the 64-bit kestra.dll, its tests under wine64"
  "windows64-diff | scripts/test-windows-diff.sh x64 | the same pictures through real GDI under wine64 and the Linux build"
  "msvc-host    | scripts/test-windows-msvc.sh x86 | a host built with the MSVC ABI (clang, lld-link, kestra.lib) under wine32"
  "msvc-host64  | scripts/test-windows-msvc.sh x64 | the same host for x64 under wine64"
  "wasm         | scripts/test-wasm.sh         | the browser build: the JavaScript API under Node against the Linux pictures, the page in headless Chromium"
  "soak         | scripts/test-soak.sh         | every export, mixed, on eight threads for 30 s: memory flat, objects and descriptors back"
  "full-disk    | scripts/test-full-disk.sh    | the file forms on a full tmpfs: the write-failure code, the old file intact, no temporary left"
  "package      | scripts/check-package-windows.sh | the Windows release archive: its files, and the MSVC-ABI host linked against them"
)

jobs=$(nproc)

# Builds share a compiler cache outside the clone when ccache is installed,
# so a second run on the same machine compiles only what changed.
if command -v ccache >/dev/null && [[ -z ${CMAKE_CXX_COMPILER_LAUNCHER:-} ]]; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache CMAKE_C_COMPILER_LAUNCHER=ccache
  export CCACHE_DIR=${CCACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/kestra/ccache}
  export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1 CCACHE_MAXSIZE=${CCACHE_MAXSIZE:-10G}
fi

debug_suite() {
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKESTRA_WERROR=ON
  cmake --build build -j "$jobs"
  ctest --test-dir build --output-on-failure -j "$jobs"
}

asan_suite() {
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKESTRA_SANITIZE=ON -DKESTRA_WERROR=ON
  cmake --build build-asan -j "$jobs"
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -j "$jobs"
}

trim() { local text=$1; text=${text#"${text%%[![:space:]]*}"}; printf '%s' "${text%"${text##*[![:space:]]}"}"; }

# The column (1 name, 2 command, 3 what) of the stage row `row`.
column() { trim "$(cut -d '|' -f "$2" <<<"$1")"; }

row_of() {
  for row in "${stages[@]}"; do
    [[ $(column "$row" 1) == "$1" ]] && { printf '%s' "$row"; return; }
  done
  echo "scripts/test.sh: no stage '$1' (scripts/test.sh --list names them)" >&2
  exit 2
}

if [[ ${1:-} == --list ]]; then
  for row in "${stages[@]}"; do printf '%-14s %s\n' "$(column "$row" 1)" "$(column "$row" 3)"; done
  exit 0
fi

chosen=("$@")
if [[ ${#chosen[@]} -eq 0 ]]; then
  for row in "${stages[@]}"; do chosen+=("$(column "$row" 1)"); done
fi
rows=()
for name in "${chosen[@]}"; do rows+=("$(row_of "$name")"); done

# CPU seconds (user + system) of every process this run has waited for, from
# /proc: with wall time it shows what a stage costs on a busier or quieter machine.
cpu_seconds() {
  local stat
  stat=$(</proc/$$/stat)
  read -ra fields <<<"${stat##*) }"
  echo $(((fields[13] + fields[14]) / $(getconf CLK_TCK)))
}

summary=()
for row in "${rows[@]}"; do
  name=$(column "$row" 1)
  echo "=== stage $name: $(column "$row" 3)"
  started=$SECONDS cpu=$(cpu_seconds)
  $(column "$row" 2)
  summary+=("$(printf '%-14s passed in %4d s (CPU %5d s)' "$name" $((SECONDS - started)) $(($(cpu_seconds) - cpu)))")
done
printf '%s\n' "=== ${#summary[@]} stage(s) passed" "${summary[@]}"
