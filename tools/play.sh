#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine for the game, builds the game alone and starts it.
# A new build folder leaves out the tests, the benchmarks and the media generator; a folder
# configured before (by tools/check.sh, say) keeps its settings, and only the game is built.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/tools/install-deps.sh" --for play
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} \
    -DBUILD_TESTING=OFF -DSEABATTLE_DEVTOOLS=OFF >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target seabattle
exec "$build/game/seabattle"
