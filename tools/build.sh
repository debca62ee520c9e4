#!/usr/bin/env bash
# Installs what is missing, then configures and builds everything, the tests, the benchmarks
# and the media generator included, into build/ (or $BUILD_DIR).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/tools/install-deps.sh" --for test
# Explicitly on: the folder may have been configured for the game alone by tools/play.sh.
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} \
  -DBUILD_TESTING=ON -DSEABATTLE_DEVTOOLS=ON "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
