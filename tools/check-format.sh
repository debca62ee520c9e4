#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format (with the root's .clang-format)
# makes of it, and prints the command that formats them.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
[ ${#files[@]} -eq 0 ] && exit 0
if ! clang-format --dry-run --Werror "${files[@]}" >/tmp/seabattle-format.$$ 2>&1; then
  mapfile -t wrong < <(sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: error:.*/\1/p' /tmp/seabattle-format.$$ | sort -u)
  rm -f /tmp/seabattle-format.$$
  echo "These files are not formatted with clang-format:" >&2
  printf '  %s\n' "${wrong[@]}" >&2
  echo "Format them with:" >&2
  echo "  clang-format -i ${wrong[*]}" >&2
  exit 1
fi
rm -f /tmp/seabattle-format.$$
