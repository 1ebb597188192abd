#!/bin/sh
# Installs what is missing, builds tarvix and converts the sample texture.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup.sh
sh scripts/build.sh
OUT=${OUT:-$HOME/tarvix-demo}
mkdir -p "$OUT"
./build/tarvix -i samples/orvella-sample.dds -o "$OUT"
echo "JPEG written to: $OUT/orvella-sample.jpg"
