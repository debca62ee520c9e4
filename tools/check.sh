#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds the game and runs the whole test suite.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/tools/build.sh"
# Tests that listen to the game need a sound server; start one with a silent sink.
"$root/tools/start-audio.sh"
cd "$build"
ctest --output-on-failure -j"$(nproc)" "$@"
