#!/usr/bin/env bash
# Installs what is missing, builds the program (not the tests), and starts it.
set -euo pipefail
cd "$(dirname "$0")"
./setup.sh brivomarte
exec ./build/brivomarte "$@"
