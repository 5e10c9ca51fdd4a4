#!/usr/bin/env bash
# Compiles the drawing code against the real <windows.h> of the 32-bit mingw
# toolchain: the same sources must build for the Windows DLL. Also checks the
# public records' 32-bit layout. (The .xlsx reader needs libzip and expat
# built for Windows and is not checked here.)
set -euo pipefail
cd "$(dirname "$0")/.."
compile() {
  i686-w64-mingw32-g++ -std=c++20 -Wall -Wextra -Werror -fsyntax-only -Iinclude -Isrc "$@"
}
compile tests/abi/record_layout.cpp
# replacing_file.cpp is the POSIX file replacer; Windows builds a twin of it.
for source in src/model/*.cpp src/canvas/*.cpp src/diagram/*.cpp src/plot/*.cpp src/output/*.cpp src/import/*.cpp src/exports/*.cpp; do
  case $(basename "$source") in
    xlsx_* | replacing_file.cpp) ;;
    *) compile "$source" ;;
  esac
done
echo "Windows build check: ok"
