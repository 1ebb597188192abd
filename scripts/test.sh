#!/bin/sh
# Installs what is missing, builds tarvix and runs the whole test suite.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup.sh
sh scripts/build.sh
cd "${BUILD_DIR:-build}"
ctest -j "$(nproc)" --output-on-failure </dev/null
