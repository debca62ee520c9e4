#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds the game and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/build.sh"
exec "${BUILD_DIR:-$root/build}/game/seabattle"
