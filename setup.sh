#!/usr/bin/env bash
# Installs, on Debian 12, the packages the build, the program and the tests need
# (only those not yet installed), then configures and builds in build/: the targets
# given (./setup.sh brivomarte builds the program alone), or everything.
# Run it as yourself: only the package step needs privileges, and it asks for them
# (apt-get directly when already root, sudo otherwise). The checks by hand in bench/ need
# a few packages more, which bench/README.md lists: they are not asked for here.
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES="cmake g++ ninja-build qt6-base-dev qt6-multimedia-dev qt6-svg-dev \
qt6-translations-l10n fonts-liberation2 xdg-utils libxext-dev"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
if [ -n "$missing" ]; then
  if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
  elif command -v sudo >/dev/null 2>&1; then
    SUDO="sudo"
  else
    SUDO="none"
  fi
  if [ "$SUDO" = none ] || ! { $SUDO apt-get update -qq &&
       $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing; }; then
    echo "setup.sh: missing packages; as root, run: apt-get install$missing" >&2
    exit 1
  fi
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build build -j"$(nproc)" "${targets[@]}"
