#!/usr/bin/env bash
# Judges the Debian package with Debian unstable's tools, as a sponsor does before an upload:
# lintian of unstable on the source and the binary packages (no error, no warning), and
# appstreamcli and desktop-file-validate of unstable on the package's desktop entry and
# AppStream description. The first time it makes a small unstable chroot with debootstrap, from
# the mirror this system's apt sources name; later runs bring its tools up to date.
#   tools/lintian-unstable.sh CHANGES [CHROOT]      as root; CHROOT is /var/tmp/seabattle-sid
# The suite does not run it: it downloads unstable's packages.
set -euo pipefail
changes=$(readlink -f "${1:?"usage: $0 ../seabattle_VERSION_ARCH.changes [CHROOT]"}")
chroot=${2:-/var/tmp/seabattle-sid}
[ "$(id -u)" -eq 0 ] || { echo "$0: debootstrap and chroot need root" >&2; exit 2; }
[ -f "$changes" ] || { echo "$0: no $changes" >&2; exit 2; }

# The first Debian archive the apt sources name (one-line or deb822 format).
mirror() {
  cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources \
    2>/dev/null | sed -n 's/^deb \(\[[^]]*\] \)\{0,1\}\([^ ]*\) .*/\2/p; s/^URIs: *//p' \
    | tr ' ' '\n' | grep -E '/debian/?$' | head -n 1
}

tools=(lintian appstream desktop-file-utils)
if [ ! -x "$chroot/usr/bin/lintian" ]; then
  command -v debootstrap >/dev/null || apt-get install -y debootstrap
  archive=$(mirror)
  [ -n "$archive" ] || { echo "$0: the apt sources name no Debian archive" >&2; exit 1; }
  echo "making an unstable chroot in $chroot from $archive"
  # debootstrap may leave a package unconfigured that depends on a virtual package it did not
  # resolve; apt completes it.
  debootstrap --variant=minbase --include="$(IFS=,; echo "${tools[*]}")" sid "$chroot" "$archive" \
    || chroot "$chroot" apt-get install -y -f
else
  # A mirror may serve a snapshot of the archive older than its Release file's Valid-Until.
  chroot "$chroot" apt-get -o Acquire::Check-Valid-Until=false update -qq
  chroot "$chroot" apt-get install -y -qq "${tools[@]}" >/dev/null
fi

# The .changes and the files it names, judged inside the chroot.
work=$(mktemp -d "$chroot/tmp/judge.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp "$changes" "$work/"
sed -n '/^Files:/,/^[A-Z]/s/^ [0-9a-f]\{32\} .* \([^ ]*\)$/\1/p' "$changes" \
  | while read -r f; do cp "$(dirname "$changes")/$f" "$work/"; done
inside=/tmp/${work##*/}
echo "== lintian $(chroot "$chroot" dpkg-query -W -f='${Version}' lintian) of unstable"
status=0
chroot "$chroot" lintian -EvIL +pedantic --tag-display-limit 0 --fail-on error,warning \
  "$inside/${changes##*/}" || status=1
for deb in "$work"/*.deb; do
  case $deb in *-dbgsym_*) continue ;; esac
  mkdir -p "$work/root"
  dpkg-deb -x "$deb" "$work/root"
done
echo "== appstreamcli $(chroot "$chroot" appstreamcli --version | sed 's/.* //') of unstable"
for f in "$work"/root/usr/share/metainfo/*.xml; do
  chroot "$chroot" appstreamcli validate --no-net --pedantic "$inside/root/${f#"$work/root/"}" || status=1
done
echo "== desktop-file-validate of unstable"
for f in "$work"/root/usr/share/applications/*.desktop; do
  chroot "$chroot" desktop-file-validate "$inside/root/${f#"$work/root/"}" || status=1
done
exit "$status"
