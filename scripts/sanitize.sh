#!/bin/sh
# Builds the program and its tests with AddressSanitizer and
# UndefinedBehaviorSanitizer in ./build-asan and runs the whole suite there.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup.sh
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build build-asan -j "$(nproc)"
cd build-asan
# fontconfig keeps caches for the life of the process; they are not leaks of ours.
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest -j "$(nproc)" --output-on-failure </dev/null
