#!/usr/bin/env bash
# Installs what is missing, then configures and builds a preset of CMakePresets.json (the one
# place that says how each build is made): `default` unless named, into its own folder.
# usage: tools/build.sh [PRESET [CMAKE_OPTION...]]   e.g. tools/build.sh asan
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
preset=${1:-default}
"$root/tools/install-deps.sh" --for test
cd "$root"
tools/configure.sh "$preset" "${@:2}"
cmake --build --preset "$preset" -j"$(nproc)"
