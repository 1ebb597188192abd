#!/bin/sh
# Installs the Debian packages tarvix needs to build, test and run.
# Safe to run again: apt-get skips what is already installed.
set -eu

PACKAGES="build-essential cmake pkg-config git ca-certificates \
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev \
  libfreeimage-dev libarchive-dev libpng-dev zlib1g-dev libjpeg62-turbo-dev \
  libgtest-dev googletest \
  fontconfig fonts-liberation2 fonts-dejavu-core \
  desktop-file-utils appstream groff-base"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing="$missing $p"
  fi
done

if [ -n "$missing" ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
      echo "Missing packages. As root, run:" >&2
      echo "  apt-get update && apt-get install -y --no-install-recommends$missing" >&2
      exit 1
    fi
    SUDO="sudo"
  fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q </dev/null
  # shellcheck disable=SC2086
  $SUDO apt-get install -y -q --no-install-recommends $missing </dev/null
fi
