#!/usr/bin/env bash
# Installs the Debian packages the game needs. Non-interactive and idempotent; works as root or
# through sudo.
#   --for play   what building and running the game needs (tools/play.sh)
#   --for test   that and everything the tests, the benchmarks and the package need (the default)
set -euo pipefail

purpose="test"
case "${1:-}" in
--for) purpose=${2:?"--for play or --for test"} ;;
--for=*) purpose=${1#--for=} ;;
"") ;;
*)
  echo "usage: $0 [--for play|test]" >&2
  exit 2
  ;;
esac

play=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-wayland
  libpulse-dev
  libqt6sql6-sqlite libsqlite3-dev qt6-translations-l10n libqt6svg6
  libfluidsynth-dev fluid-soundfont-gm
  fonts-liberation2
)
test=(
  clang-format qt6-tools-dev-tools fluidsynth
  # real-window and sound checks
  xvfb xauth x11-utils xdotool imagemagick pulseaudio pulseaudio-utils sox sqlite3 python3
  # a real screen reader (Orca) on buses of the test's own, speaking to a speech server
  dbus at-spi2-core orca speech-dispatcher
  weston
  # installation and package checks, measurements, leak checks
  desktop-file-utils appstream hyperfine valgrind time
  dpkg-dev fakeroot lintian
)

case $purpose in
play) packages=("${play[@]}") ;;
test) packages=("${play[@]}" "${test[@]}") ;;
*)
  echo "$0: --for takes play or test, not '$purpose'" >&2
  exit 2
  ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
