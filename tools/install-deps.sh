#!/usr/bin/env bash
# Installs every Debian package needed to build, run and test the game.
# Non-interactive and idempotent; works as root or through sudo.
set -euo pipefail

packages=(
  # build
  cmake g++ make pkg-config clang-format
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev-tools qt6-svg-dev qt6-wayland
  libqt6sql6-sqlite qt6-translations-l10n libqt6svg6
  libfluidsynth-dev fluid-soundfont-gm fluidsynth libsdl2-mixer-dev libsdl2-dev
  fonts-liberation2
  # real-window and sound checks
  xvfb xauth x11-utils xdotool imagemagick pulseaudio pulseaudio-utils sox sqlite3 python3
  weston
  # installation checks, measurements, leak checks
  desktop-file-utils appstream hyperfine valgrind time
)

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
