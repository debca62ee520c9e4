#!/usr/bin/env bash
# The Debian package, made and judged as a Debian maintainer would. Usage:
#   package_test.sh build  SOURCE_DIR OUT_DIR
#       dpkg-buildpackage -us -uc on a clean copy of the tracked files: the source and the
#       binary package into OUT_DIR; their control fields and files; lintian --pedantic -I with
#       no error, no warning and no hardening remark; blhc on the build log with no remark.
#       With SEABATTLE_TESTED_BUILD (a build folder whose suite runs the headless tests) the
#       package is built with nocheck, unless SEABATTLE_PACKAGE_CHECK=1
#   package_test.sh system SOURCE_DIR OUT_DIR        (root only, else skipped)
#       the package of OUT_DIR installed by autopkgtest's null runner, which runs its smoke
#       test (debian/tests); then played by an ordinary user made for it, removed and purged:
#       the player's results stay in the player's home, nothing else of the package is left
set -euo pipefail

CASE=package_$1
SRC=$(cd "$2" && pwd)
OUT=$3
# shellcheck source=lib.sh
source "$SRC/tests/install/lib.sh"

VERSION=$(dpkg-parsechangelog -l "$SRC/debian/changelog" -S Version)
ARCH=$(dpkg --print-architecture)
DEB=$OUT/seabattle_${VERSION}_$ARCH.deb
DSC=$OUT/seabattle_$VERSION.dsc
CHANGES=$OUT/seabattle_${VERSION}_$ARCH.changes

# has_dependency FIELD NAME: the control field names the package NAME (alone or in an alternative).
has_dependency() { tr ',|' '\n\n' <<<"$1" | sed 's/(.*//; s/ //g' | grep -qx "$2"; }

check_build() {
    require git dpkg-buildpackage dpkg-deb lintian blhc
    rm -rf "$OUT"
    mkdir -p "$OUT"
    # A clean clone's files, as they stand in the working tree.
    local tree="$T/seabattle-$VERSION"
    mkdir -p "$tree"
    (cd "$SRC" && git ls-files -z --cached --others --exclude-standard) \
        | (cd "$SRC" && tar --null -T - -c) | tar -x -C "$tree" \
        || fail "the tracked files could not be copied"
    # The suite has run the headless tests of its own build already: its package is built
    # without them, and what the package's build would run is counted there instead.
    # SEABATTLE_PACKAGE_CHECK=1 builds and runs them in the package's build all the same.
    local options="parallel=2 ${DEB_BUILD_OPTIONS:-}"
    if [ -n "${SEABATTLE_TESTED_BUILD:-}" ] && [ "${SEABATTLE_PACKAGE_CHECK:-0}" != 1 ]; then
        options+=" nocheck"
        headless_tests_of "$SEABATTLE_TESTED_BUILD"
    fi
    local started=$SECONDS
    (cd "$tree" && DEB_BUILD_OPTIONS=$options timeout 1200 dpkg-buildpackage -us -uc) \
        >"$T/build.log" 2>&1 || fail "dpkg-buildpackage failed: $(tail -n 20 "$T/build.log")"
    note "dpkg-buildpackage ($options) took $((SECONDS - started)) s"
    # The tests that need no X server and no sound server ran at the build, unless told not to.
    if [[ " $options " != *" nocheck "* ]]; then
        local ran
        ran=$(sed -n 's/^100% tests passed, 0 tests failed out of \([0-9]*\)$/\1/p' "$T/build.log")
        [ "${ran:-0}" -ge 30 ] || fail "the build ran ${ran:-no} tests, not the headless ones: $(grep -E 'tests (passed|failed)' "$T/build.log")"
        note "the build ran $ran tests"
    fi
    cp "$T/build.log" "$OUT/build.log"
    mv "$T"/seabattle_* "$OUT"/
    mv "$T"/seabattle-dbgsym_* "$OUT"/ 2>/dev/null || true # not with DEB_BUILD_OPTIONS=noautodbgsym
    local f
    for f in "$DSC" "$OUT/seabattle_$VERSION.tar.xz" "$DEB" "$CHANGES"; do
        [ -f "$f" ] || fail "dpkg-buildpackage made no ${f##*/} but: $(ls "$OUT")"
    done
    note "made ${DEB##*/}, $(du -k "$DEB" | cut -f1) KiB"

    # The control fields: dependencies as Debian writes them, each package named once.
    local control depends recommends name
    control=$(dpkg-deb -f "$DEB")
    for pair in "Package: seabattle" "Version: $VERSION" "Architecture: $ARCH" "Section: games" \
        "Maintainer: $(sed -n 's/^Maintainer: //p' "$SRC/debian/control")"; do
        grep -qxF "$pair" <<<"$control" || fail "the control file lacks \"$pair\": $control"
    done
    depends=$(dpkg-deb -f "$DEB" Depends)
    recommends=$(dpkg-deb -f "$DEB" Recommends)
    for name in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libsqlite3-0 \
        libfluidsynth3 libpulse0 fonts-liberation fonts-liberation2; do
        has_dependency "$depends" "$name" || fail "Depends lacks $name: $depends"
    done
    for name in sf2-soundfont-gm sf3-soundfont-gm; do
        has_dependency "$recommends" "$name" || fail "Recommends no General MIDI SoundFont $name: $recommends"
    done
    # The game sets its own texts on Qt's standard buttons: Qt's translations are not needed; it
    # reads its results with SQLite itself, not through Qt's SQL module.
    for name in libsdl2-mixer-2.0-0 libsdl2-2.0-0 fluid-soundfont-gm qt6-translations-l10n \
        libqt6sql6 libqt6sql6-sqlite; do
        has_dependency "$depends" "$name" && fail "Depends names $name: $depends"
    done
    name=$(tr ',' '\n' <<<"$depends, $recommends" | sed 's/(.*//; s/ //g; /^$/d' | sort | uniq -d)
    [ -z "$name" ] || fail "named more than once: $name"

    # The copyright holders as AUTHORS names them, in the package's copyright file too.
    local holder
    holder=$(sed -n 's/^Copyright \(.*\)$/\1/p' "$SRC/AUTHORS")
    [ -n "$holder" ] || fail "AUTHORS names no copyright holder"
    dpkg-deb --fsys-tarfile "$DEB" | tar -xO ./usr/share/doc/seabattle/copyright >"$T/copyright"
    [ "$(sed -n 's/^Copyright: //p' "$T/copyright" | sort -u)" = "$holder" ] \
        || fail "debian/copyright's holders differ from AUTHORS' $holder: $(grep '^Copyright:' "$T/copyright")"

    # The files, owned by root: exactly those of an installation under /usr, with the
    # documents Debian asks for.
    dpkg-deb -c "$DEB" >"$T/contents"
    awk '$2 != "root/root"' "$T/contents" | grep -q . && fail "files not owned by root: $(awk '$2 != "root/root"' "$T/contents" | head -n 3)"
    awk '$1 !~ /^d/ { print $6 }' "$T/contents" | sed 's:^\./usr/::' | sort >"$T/packaged"
    { expected_files | sed 's:^share/man/man6/seabattle\.6$:&.gz:'
      printf '%s\n' share/doc/seabattle/copyright share/doc/seabattle/changelog.gz \
          share/lintian/overrides/seabattle; } \
        | sort >"$T/expected"
    diff "$T/expected" "$T/packaged" >"$T/files.diff" \
        || fail "the package's files differ from the expected (< missing, > extra): $(cat "$T/files.diff")"

    # lintian as a sponsor runs it on the source and the binaries: no error, no warning, and
    # no hardening remark at all.
    lintian --pedantic -I --tag-display-limit 0 --fail-on error,warning "$CHANGES" \
        >"$T/lintian.log" 2>"$T/lintian.err" \
        || fail "lintian: $(cat "$T/lintian.log" "$T/lintian.err")"
    grep -E 'Skipping|No packages selected' "$T/lintian.err" && fail "lintian checked nothing"
    grep hardening "$T/lintian.log" && fail "lintian's hardening remarks: $(grep hardening "$T/lintian.log")"
    if grep -q . "$T/lintian.log"; then
        note "lintian's remarks (information and pedantic):"
        sed 's/^/    /' "$T/lintian.log"
    else
        note "lintian has no remark"
    fi
    # Every compiler and linker call with Debian's flags, hardening included.
    blhc --all "$OUT/build.log" >"$T/blhc.log" 2>&1 || fail "blhc: $(head -n 20 "$T/blhc.log")"
    note "blhc finds every flag"
}

# headless_tests_of BUILD_DIR: the tests the package's build selects (debian/rules'
# dh_auto_test, by the same label) are there in the suite's own build, thirty at least.
headless_tests_of() {
    local rule count
    rule=$(make -s -n -f "$SRC/debian/rules" override_dh_auto_test DEB_BUILD_OPTIONS= \
        DEB_HOST_GNU_TYPE=tested) || fail "debian/rules has no dh_auto_test to run"
    [[ $rule == *"ctest "*"--label-regex '^headless\$'"* ]] \
        || fail "debian/rules' dh_auto_test no longer runs the headless tests: $rule"
    # Read from CTest's files rather than asked of ctest, which would write over the log of the
    # suite running this test.
    count=$(grep -rhE --include=CTestTestfile.cmake \
        '^set_tests_properties.* LABELS "([^"]*;)?headless[;"]' "$1" | wc -l)
    [ "${count:-0}" -ge 30 ] || fail "the package's build would run ${count:-no} headless tests"
    note "the package's build would run the $count headless tests the suite runs"
}

check_system() {
    [ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
    [ -f "$DEB" ] || fail "no package $DEB (the package_build test makes it)"
    require autopkgtest apt-get useradd userdel setpriv Xvfb
    if dpkg-query -W -f='${Status}' seabattle 2>/dev/null | grep -q installed; then
        skip "seabattle is installed on this system already: the test would remove it"
    fi
    # Another process may be installing packages: apt waits for it instead of failing.
    printf 'DPkg::Lock::Timeout "600";\n' >"$T/apt.conf"
    export APT_CONFIG="$T/apt.conf" DEBIAN_FRONTEND=noninteractive

    # The player, made before and removed after the file lists are taken.
    local player home
    player=seabattle-player-$$
    useradd --create-home --shell /bin/sh "$player" || fail "useradd could not make $player"
    CLEANUPS+=("userdel --remove $player 2>/dev/null")
    home=$(getent passwd "$player" | cut -d: -f6)
    CLEANUPS+=("dpkg --purge seabattle >/dev/null 2>&1")
    system_files >"$T/system.before"

    # Installed with its dependencies, and its smoke test run, by autopkgtest.
    timeout 900 autopkgtest --timeout-test 300 --output-dir "$T/autopkgtest" "$DEB" "$DSC" -- null \
        >"$T/autopkgtest.log" 2>&1 || fail "autopkgtest: $(tail -n 30 "$T/autopkgtest.log")"
    grep -E '^smoke +PASS' "$T/autopkgtest.log" >/dev/null \
        || fail "the smoke test did not pass: $(tail -n 20 "$T/autopkgtest.log")"
    note "autopkgtest: $(grep -E '^smoke ' "$T/autopkgtest.log")"
    dpkg-query -W -f='${Status}' seabattle | grep -q 'install ok installed' \
        || fail "autopkgtest left seabattle not installed"

    # Played by the ordinary user from the PATH a login gives, the package's folders untouched.
    # The package's files and its own folders (shared folders change with other packages).
    { dpkg -L seabattle | while IFS= read -r f; do [ -f "$f" ] && echo "$f"; done
      echo "/usr/$MEDIA_DIR"; echo "/usr/$HELPER_DIR"; } | sort >"$T/owned"
    (xargs -d '\n' ls -ld --time-style=+%s <"$T/owned") >"$T/owned.before" 2>&1
    start_xvfb
    mkdir -p "$home/runtime"
    chown "$player:" "$home/runtime"
    chmod 700 "$home/runtime"
    cd /
    start_game setpriv --reuid="$player" --regid="$(id -g "$player")" --init-groups \
        env -i HOME="$home" USER="$player" LOGNAME="$player" PATH=/usr/local/bin:/usr/bin:/bin:/usr/games \
        LANG=C.UTF-8 DISPLAY="$DISPLAY" XDG_RUNTIME_DIR="$home/runtime" PULSE_SERVER="unix:$T/no-sound-server" \
        seabattle
    [ "$(readlink -f "/proc/$GAME_PID/exe")" = /usr/games/seabattle ] \
        || fail "the player ran $(readlink -f "/proc/$GAME_PID/exe")"
    tune_rendered "$home"
    place_fleet
    quit_game
    no_media_warnings
    quiet_about_results "$home/.local/share/seabattle"
    [ -f "$home/.local/share/seabattle/Base.mdb" ] || fail "no results in $home/.local/share/seabattle"
    (xargs -d '\n' ls -ld --time-style=+%s <"$T/owned") >"$T/owned.after" 2>&1
    diff "$T/owned.before" "$T/owned.after" >"$T/owned.diff" \
        || fail "playing changed the package's files: $(cat "$T/owned.diff")"
    note "the player $player played; results in ~/.local/share/seabattle"

    apt-get remove -y -qq seabattle >"$T/remove.log" 2>&1 || fail "apt-get remove: $(tail -n 5 "$T/remove.log")"
    [ ! -e /usr/games/seabattle ] || fail "/usr/games/seabattle is left after removal"
    [ -f "$home/.local/share/seabattle/Base.mdb" ] || fail "removing the package took the player's results"
    # Without configuration files, removing leaves nothing to purge; dpkg is told all the same.
    dpkg --purge seabattle >"$T/purge.log" 2>&1 || fail "dpkg --purge: $(tail -n 5 "$T/purge.log")"
    if dpkg-query -W seabattle >/dev/null 2>&1; then
        fail "dpkg still knows seabattle after purging: $(dpkg-query -W -f='${Status}' seabattle)"
    fi
    system_files >"$T/system.after"
    left_behind >"$T/left"
    [ ! -s "$T/left" ] || fail "installing, playing and purging left: $(head -n 20 "$T/left")"
    note "removed and purged: nothing of the package is left"
}

# Every path where a package or its scripts could leave something, but for the package
# manager's own records, caches and logs.
system_files() {
    find /usr /etc /opt /srv /var -xdev \
        \( -path /var/lib/dpkg -o -path /var/lib/apt -o -path /var/cache -o -path /var/log \
        -o -path /var/tmp -o -path /var/lib/systemd -o -name __pycache__ \) -prune -o -print \
        2>/dev/null | sort
}

# Paths that came with the test and belong to no installed package (another process may have
# installed something meanwhile).
left_behind() {
    local path
    comm -13 "$T/system.before" "$T/system.after" | while IFS= read -r path; do
            dpkg -S "$path" >/dev/null 2>&1 || echo "$path"
    done
}

case $1 in
build) check_build ;;
system) check_system ;;
*) fail "unknown case $1 (build or system)" ;;
esac
