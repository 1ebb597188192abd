#!/bin/sh
# Installs what is missing, builds the program (not its tests) and converts the
# sample texture. A first build takes about 3 minutes on 2 cores.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup.sh
[ -x build/tarvix ] || echo "Building the program: a first build takes about 3 minutes on 2 cores."
start=$(date +%s)
# The program and all it installs (so "cmake --install build" works next), not the tests.
sh scripts/build.sh tarvix_installable
echo "Built in $(( $(date +%s) - start )) s"
OUT=${OUT:-$HOME/tarvix-demo}
mkdir -p "$OUT"
./build/tarvix -i samples/orvella-sample.dds -o "$OUT"
echo "JPEG written to: $OUT/orvella-sample.jpg"
