#!/usr/bin/env bash
# Installs, on Debian 12, the packages the build, the program and the tests need
# (only those not yet installed), then configures and builds in build/.
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES="cmake g++ ninja-build qt6-base-dev qt6-multimedia-dev qt6-svg-dev \
fonts-liberation2 xvfb xauth xdotool"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
if [ -n "$missing" ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
