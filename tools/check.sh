#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds the game and runs the whole test suite:
# once on the ordinary build (the rules' tests also under valgrind), then once more on
# a build with AddressSanitizer and UndefinedBehaviorSanitizer.
# SKIP_SANITIZERS=1 leaves out the second run. Extra arguments go to both ctest runs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
asan_build=${ASAN_BUILD_DIR:-$root/build-asan}

BUILD_DIR=$build "$root/tools/build.sh"
# Tests that listen to the game need a sound server; start one with a silent sink.
"$root/tools/start-audio.sh"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" "$@"

if [ "${SKIP_SANITIZERS:-0}" != 1 ]; then
  echo "== the same suite under AddressSanitizer and UndefinedBehaviorSanitizer =="
  BUILD_DIR=$asan_build BUILD_TYPE=Debug "$root/tools/build.sh" -DSEABATTLE_SANITIZE=ON
  ctest --test-dir "$asan_build" --output-on-failure -j"$(nproc)" "$@"
fi
