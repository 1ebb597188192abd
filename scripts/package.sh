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
# The private libraries go below the multiarch folder, as Debian keeps private
# libraries: outside the folders ldconfig manages, so the package needs no
# maintainer scripts and "dpkg -r" leaves nothing behind.
MULTIARCH=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || true)
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release -DTARVIX_BUILD_TESTS=OFF \
  -DCMAKE_INSTALL_LIBDIR="lib${MULTIARCH:+/$MULTIARCH}" >/dev/null
cmake --build "$BUILD_DIR" -j "$(nproc)"
(cd "$BUILD_DIR" && cpack -G DEB >/dev/null)
if command -v lintian >/dev/null 2>&1; then
  # A first upload closes no bug report: that one is the distribution's business.
  lintian --suppress-tags initial-upload-closes-no-bugs "$BUILD_DIR"/tarvix_*.deb >&2 || true
fi
ls "$BUILD_DIR"/tarvix_*.deb
