#!/bin/sh
# Configures ./build (or $BUILD_DIR) and builds the targets named as arguments,
# or everything (the program, its tests and the benchmarks) when none is named.
# Every script that uses ./build configures it the same way, so switching
# between them rebuilds nothing and never leaves stale tests behind.
set -eu
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVIX_BUILD_TESTS=ON >/dev/null
if [ "$#" -eq 0 ]; then
  cmake --build "$BUILD_DIR" -j "$(nproc)"
else
  for target in "$@"; do set -- "$@" --target "$target"; shift; done
  cmake --build "$BUILD_DIR" -j "$(nproc)" "$@"
fi
