#!/usr/bin/env bash
# Configures a preset of CMakePresets.json: tools/configure.sh PRESET [CMAKE_OPTION...]. A build
# folder an older checkout made with another generator (Make) is configured afresh: CMake does
# not switch generators in place.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
preset=${1:?"usage: $0 PRESET [CMAKE_OPTION...]"}
cd "$root"
# The preset's "binaryDir", the first after its "name".
folder=$(awk -v name="\"name\": \"$preset\"" '
  index($0, name) { found = 1 }
  found && /"binaryDir"/ { sub(/.*"binaryDir": *"\$\{sourceDir\}\//, ""); sub(/".*/, ""); print; exit }
' CMakePresets.json)
fresh=()
if [ -n "$folder" ] && [ -f "$folder/CMakeCache.txt" ] \
  && ! grep -qx 'CMAKE_GENERATOR:INTERNAL=Ninja' "$folder/CMakeCache.txt"; then
  fresh=(--fresh)
fi
cmake --preset "$preset" "${fresh[@]}" "${@:2}" >/dev/null
