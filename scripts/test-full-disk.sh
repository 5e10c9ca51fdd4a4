#!/usr/bin/env bash
# The file forms on a real full disk: mounts a 256 KiB tmpfs, lets the test
# fill it, and unmounts it on every path. Skips (exit 0, with a message)
# where this user may not mount.
#   scripts/test-full-disk.sh [BUILD_DIR]   (default build, Debug)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKESTRA_WERROR=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target test_output

mountpoint=$(mktemp -d)
cleanup() {
  if mountpoint -q "$mountpoint"; then umount "$mountpoint"; fi
  rmdir "$mountpoint"
}
trap cleanup EXIT
if ! mount -t tmpfs -o size=256k,mode=0700 kestra-full-disk "$mountpoint" 2>/dev/null; then
  echo "test-full-disk: SKIPPED, this user may not mount a tmpfs (run as root)" >&2
  exit 0
fi
KESTRA_FULL_DISK_DIR="$mountpoint" "$build/tests/test_output" --gtest_filter='FullDisk.*'
