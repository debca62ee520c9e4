#!/usr/bin/env bash
# Installs the Debian packages the game needs. Non-interactive and idempotent; works as root or
# through sudo.
#   --for play     what building and running the game needs (tools/play.sh)
#   --for package  what dpkg-buildpackage needs to make the Debian package: the build
#                  dependencies that debian/control names, and the tools
#   --for test     both and everything the tests and the benchmarks need (the default)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

purpose="test"
case "${1:-}" in
--for) purpose=${2:?"--for play, package or test"} ;;
--for=*) purpose=${1#--for=} ;;
"") ;;
*)
  echo "usage: $0 [--for play|package|test]" >&2
  exit 2
  ;;
esac

play=(
  cmake ninja-build g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-l10n-tools qt6-svg-dev qt6-wayland
  libpulse-dev
  libsqlite3-dev libqt6svg6
  libfluidsynth-dev fluid-soundfont-gm
  fonts-liberation2
)
# The Build-Depends field of debian/control, one package a line (debhelper-compat is debhelper's),
# without versions, architectures and build profiles.
build_depends() {
  sed -n '/^Build-Depends:/,/^[A-Z]/p' "$root/debian/control" \
    | sed '1s/^Build-Depends://; /^[A-Z]/d' | tr ',' '\n' \
    | sed 's/[(<[].*//; s/ //g; /^$/d; s/^debhelper-compat$/debhelper/'
}
mapfile -t package < <(build_depends)
[ ${#package[@]} -gt 0 ] || { echo "$0: debian/control names no Build-Depends" >&2; exit 1; }
package+=(build-essential dpkg-dev file)
test=(
  clang-format qt6-tools-dev-tools fluidsynth
  # real-window and sound checks
  xvfb xauth x11-utils xdotool imagemagick pulseaudio pulseaudio-utils sox sqlite3 python3
  # a real screen reader (Orca) on buses of the test's own, speaking to a speech server
  dbus at-spi2-core orca speech-dispatcher
  # Debian's default voice, for how long the screen reader takes to say the news
  espeak-ng
  weston
  # the desktop Debian starts by default: GNOME Shell on Wayland, with its XWayland
  gnome-shell xwayland
  # installation and package checks: the package judged, its smoke test run the Debian way
  desktop-file-utils appstream lintian blhc autopkgtest git
  # the tune file's byte order checked on a big-endian machine (s390x) under qemu-user
  g++-s390x-linux-gnu qemu-user
  # measurements, leak checks
  hyperfine valgrind time
  # a CPU hog beside the suite, to show it holds on a busy machine
  stress-ng
)

case $purpose in
play) packages=("${play[@]}") ;;
package) packages=("${package[@]}") ;;
test) packages=("${play[@]}" "${package[@]}" "${test[@]}") ;;
*)
  echo "$0: --for takes play, package or test, not '$purpose'" >&2
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
