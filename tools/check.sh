#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, checks the formatting of the C++ files, builds everything
# and runs the whole test suite: once on the ordinary build (the `default` preset, the rules'
# tests also under valgrind), then the tests of the product's own code paths once more on the
# `asan` preset's build with AddressSanitizer and UndefinedBehaviorSanitizer. That one is built
# at the lowest priority while the ordinary suite runs (its output in
# build/sanitizer-build.log). How each build is made is said by CMakePresets.json alone;
# warnings are errors in both.
# SKIP_SANITIZERS=1 leaves out the second run. SEABATTLE_PACKAGE_CHECK=1 has the Debian package's
# build run the headless tests once more itself (dh_auto_test), as a package build outside the
# suite does. Extra arguments go to both ctest runs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

# The cheapest check first: every tracked C++ file as clang-format writes it.
tools/install-deps.sh --for test
tools/check-format.sh

# stage NAME COMMAND...: runs a step and says how long it took.
stage() {
  local started=$SECONDS
  "${@:2}"
  echo "== $1: $((SECONDS - started)) s"
}

configure_and_build() {
  tools/configure.sh "$1"
  cmake --build --preset "$1" -j"$(nproc)"
}

stage "ordinary build" configure_and_build default
# The sanitizer build takes only what the ordinary suite leaves of the processors: most of its
# tests wait for windows, servers and sounds.
if [ "${SKIP_SANITIZERS:-0}" != 1 ]; then
  # In a process group of its own, so that a failed suite stops the whole build; in the same
  # session, as the scheduler weighs the niceness only among a session's processes.
  set -m
  nice -n 19 bash -c "$(declare -f configure_and_build); configure_and_build asan" \
    >build/sanitizer-build.log 2>&1 &
  asan_build=$!
  set +m
  trap 'kill -- "-$asan_build" 2>/dev/null || true' EXIT
fi
# Tests that listen to the game need a sound server; start one with a silent sink.
tools/start-audio.sh
# Most tests spend their time waiting for a window, a server or a sound, so twice as many run
# as there are processors; those that keep processors busy say so (PROCESSORS) and count double.
test_jobs=$((2 * $(nproc)))
stage "ordinary suite" ctest --preset default -j"$test_jobs" "$@"

if [ "${SKIP_SANITIZERS:-0}" != 1 ]; then
  echo "== the tests of the product's own code paths under AddressSanitizer and UndefinedBehaviorSanitizer =="
  wait_for_build() {
    wait "$asan_build" || { tail -n 40 build/sanitizer-build.log; exit 1; }
  }
  # Its turn now: at the lowest priority a CPU hog beside it would starve it (renicing back
  # needs root; an ordinary user's build stays low).
  renice -n 0 -g "$asan_build" >/dev/null 2>&1 || true
  stage "sanitizer build, after the ordinary suite" wait_for_build
  trap - EXIT
  stage "sanitizer suite" ctest --preset asan -j"$test_jobs" "$@"
fi
