#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, checks the formatting of the C++ files, builds everything
# and runs the whole test suite:
# once on the ordinary build (the rules' tests also under valgrind), then once more on
# a build with AddressSanitizer and UndefinedBehaviorSanitizer.
# SKIP_SANITIZERS=1 leaves out the second run. Extra arguments go to both ctest runs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
asan_build=${ASAN_BUILD_DIR:-$root/build-asan}

# The cheapest check first: every tracked C++ file as clang-format writes it.
"$root/tools/install-deps.sh" --for test
"$root/tools/check-format.sh"

BUILD_DIR=$build "$root/tools/build.sh"
# Tests that listen to the game need a sound server; start one with a silent sink.
"$root/tools/start-audio.sh"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" "$@"

if [ "${SKIP_SANITIZERS:-0}" != 1 ]; then
  echo "== the same suite under AddressSanitizer and UndefinedBehaviorSanitizer =="
  BUILD_DIR=$asan_build BUILD_TYPE=Debug "$root/tools/build.sh" -DSEABATTLE_SANITIZE=ON
  # For every test and every program they start; system libraries keep some memory to the end.
  export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1
  export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0
  export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
  ctest --test-dir "$asan_build" --output-on-failure -j"$(nproc)" "$@"
fi
