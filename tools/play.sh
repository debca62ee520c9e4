#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine for the game, builds the game alone (the `game` preset of
# CMakePresets.json, in build-game/) and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh" --for play
cd "$root"
tools/configure.sh game
cmake --build --preset game -j"$(nproc)"
exec "$root/build-game/game/seabattle"
