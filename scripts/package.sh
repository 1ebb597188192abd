#!/bin/sh
# Builds a Debian package of tarvix in ./build-package (or $BUILD_DIR), a
# Release build of its own that never touches the test build in ./build;
# prints the package's path.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup.sh
for tool in dpkg-shlibdeps:dpkg-dev fakeroot:fakeroot; do
  command -v "${tool%%:*}" >/dev/null 2>&1 || missing="${missing:-} ${tool#*:}"
done
if [ -n "${missing:-}" ]; then
  if [ "$(id -u)" -eq 0 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing </dev/null
  else
    echo "As root, run: apt-get install -y --no-install-recommends$missing" >&2
    exit 1
  fi
fi
BUILD_DIR=${BUILD_DIR:-build-package}
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release -DTARVIX_BUILD_TESTS=OFF >/dev/null
cmake --build "$BUILD_DIR" -j "$(nproc)"
(cd "$BUILD_DIR" && cpack -G DEB >/dev/null)
ls "$BUILD_DIR"/tarvix_*.deb
