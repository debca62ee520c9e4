#!/usr/bin/env bash
# The installed game: `cmake --install` into a scratch prefix, checked the way a desktop and a
# player meet it. Usage: install_test.sh layout|launch|readonly BUILD_DIR SOURCE_DIR
#   layout    the files, their places and contents, the validators of the desktop entry and
#             of the AppStream description, a DESTDIR staging
#   launch    a prefix moved after installation, started through a link to its launcher on an
#             X server of the test's own: notice, main window, placement, Esc and "Да"
#   readonly  an installation its user cannot write to: the game starts and keeps its results
#             in the user's data folder
#   package   the Debian package of `cpack -G DEB`: its name, control fields and files, lintian,
#             and the game started from the package unpacked into a scratch root
set -euo pipefail

CASE=$1
BUILD=$(cd "$2" && pwd)
SRC=$(cd "$3" && pwd)
# shellcheck source=../../tools/private-servers.sh
source "$SRC/tools/private-servers.sh"
APP_ID=org.seabattle.SeaBattle
GAME_SUBDIR=lib/seabattle

T=$(mktemp -d /tmp/seabattle-install.XXXXXX)
chmod 755 "$T" # the unprivileged player must reach the prefix inside
PIDS=()        # started here, stopped at exit (newest first)
GAME_PID=

note() { printf '[%s install_%s] %s\n' "$(date +%T)" "$CASE" "$*"; }
fail() {
    echo "FAIL [install_$CASE]: $*" >&2
    if [ -s "$T/game.err" ]; then
        echo "--- the game's stderr:" >&2
        tail -n 30 "$T/game.err" >&2
    fi
    exit 1
}
skip() {
    echo "SKIP [install_$CASE]: $*"
    exit 77
}

cleanup() {
    local rc=$? i
    trap - EXIT
    for ((i = ${#PIDS[@]} - 1; i >= 0; i--)); do
        stop_process "${PIDS[i]}"
    done
    chmod -R u+w "$T" 2>/dev/null || true
    rm -rf "$T"
    exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

require() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || fail "the tool '$tool' is missing (tools/install-deps.sh installs it)"
    done
}

install_into() {
    timeout 120 cmake --install "$BUILD" --prefix "$1" >"$T/install.log" 2>&1 \
        || fail "cmake --install --prefix $1 failed: $(tail -n 5 "$T/install.log")"
}

# The media files as media/CMakeLists.txt lists them.
media_files() {
    sed -n '/^set(SEABATTLE_MEDIA_FILES/,/)/p' "$SRC/media/CMakeLists.txt" \
        | sed 's/set(SEABATTLE_MEDIA_FILES//; s/)//' | tr -s ' \t' '\n\n' | sed '/^$/d'
}

# desktop_value KEY FILE: the value of an untranslated key of the desktop entry.
desktop_value() { sed -n "s/^$1=//p" "$2" | head -n 1; }
# xml_text ELEMENT FILE: the text of the first untranslated element of that name.
xml_text() { sed -n "/xml:lang/!s:.*<$1[^>]*>\\([^<]*\\)</$1>.*:\\1:p" "$2" | head -n 1; }

# --- layout ----------------------------------------------------------------------------------------

check_layout() {
    require desktop-file-validate appstreamcli readelf cmp
    local P="$T/prefix" game media f expected actual
    install_into "$P"
    game="$P/$GAME_SUBDIR"

    # The executable and every media file together in the installation folder, and nothing
    # else: the build folder's results file must not be shipped.
    for f in seabattle seabattle-tune; do
        [ -x "$game/$f" ] || fail "no executable $game/$f"
        head -c 4 "$game/$f" | grep -q ELF || fail "$game/$f is not a program"
    done
    media=$(media_files)
    [ "$(wc -l <<<"$media")" -eq 13 ] || fail "media/CMakeLists.txt lists $(wc -l <<<"$media") files, not 13"
    for f in $media; do
        [ -f "$game/$f" ] || fail "the media file $f is not installed beside the executable"
        cmp -s "$SRC/media/$f" "$game/$f" || fail "the installed $f differs from media/$f"
    done
    expected=$(printf '%s\n' $media seabattle seabattle-tune | sort)
    actual=$(ls -A "$game" | sort)
    [ "$expected" = "$actual" ] || fail "the installation folder holds other files: $(comm -13 <(echo "$expected") <(echo "$actual") | tr '\n' ' ')"
    # Whatever the build copies into its game folder is installed as well.
    for f in "$BUILD"/game/*; do
        case ${f##*/} in Base.mdb*) continue ;; esac
        [ -e "$game/${f##*/}" ] || fail "${f##*/} of the build's game folder is not installed"
    done
    # The system's Qt and nothing from the build tree.
    for f in seabattle seabattle-tune; do
        if readelf -d "$game/$f" | grep -E 'R(UN)?PATH' | grep -q "$BUILD"; then
            fail "the installed $f still searches the build folder for libraries"
        fi
    done

    # The launcher in bin/ leads to that executable.
    [ -x "$P/bin/seabattle" ] || fail "no launcher $P/bin/seabattle"
    if [ -L "$P/bin/seabattle" ]; then
        [ "$(readlink -f "$P/bin/seabattle")" = "$(readlink -f "$game/seabattle")" ] \
            || fail "bin/seabattle links to $(readlink -f "$P/bin/seabattle")"
    else
        sh -n "$P/bin/seabattle" || fail "the launcher is not a valid shell script"
        grep -q '^exec ' "$P/bin/seabattle" || fail "the launcher does not exec the game"
    fi

    # The desktop entry: valid, and every key a menu relies on.
    local entry="$P/share/applications/$APP_ID.desktop"
    [ -f "$entry" ] || fail "no desktop entry $entry"
    desktop-file-validate "$entry" >"$T/dfv.log" 2>&1 || fail "desktop-file-validate: $(cat "$T/dfv.log")"
    local pair key value
    for pair in "Type=Application" "Name=Морской бой" "Exec=seabattle" "Icon=$APP_ID" \
        "Terminal=false"; do
        key=${pair%%=*}
        value=$(desktop_value "$key" "$entry")
        [ "$key=$value" = "$pair" ] || fail "the desktop entry has $key=$value, not $pair"
    done
    local category
    for category in Game BoardGame; do
        [[ ";$(desktop_value Categories "$entry")" == *";$category;"* ]] \
            || fail "the desktop entry's Categories lack $category"
    done
    [ -n "$(desktop_value Comment "$entry")" ] || fail "the desktop entry has no Comment"
    [ -x "$P/bin/$(desktop_value Exec "$entry" | cut -d' ' -f1)" ] \
        || fail "the desktop entry's Exec does not name the launcher in bin/"

    # Every icon size drawn for the game, under the name the entry gives.
    local icons=0 rel
    while IFS= read -r f; do
        rel=${f#"$SRC/desktop/icons/"}
        [ "$(basename "${rel%.*}")" = "$APP_ID" ] || fail "the icon $rel is not named $APP_ID"
        cmp -s "$f" "$P/share/icons/$rel" || fail "the icon $rel is not installed as drawn"
        icons=$((icons + 1))
    done < <(find "$SRC/desktop/icons/hicolor" -type f \( -name '*.png' -o -name '*.svg' \))
    [ "$icons" -ge 2 ] || fail "only $icons icons found under desktop/icons/hicolor"
    [ -f "$P/share/icons/hicolor/scalable/apps/$APP_ID.svg" ] || fail "no scalable icon"

    # The AppStream description: valid alone and together with the entry it launches.
    local meta="$P/share/metainfo/$APP_ID.metainfo.xml"
    [ -f "$meta" ] || fail "no AppStream description $meta"
    appstreamcli validate --no-net "$meta" >"$T/asv.log" 2>&1 || fail "appstreamcli validate: $(cat "$T/asv.log")"
    appstreamcli validate-tree --no-net "$P" >"$T/ast.log" 2>&1 || fail "appstreamcli validate-tree: $(cat "$T/ast.log")"
    [ "$(xml_text id "$meta")" = "$APP_ID" ] || fail "the component id is $(xml_text id "$meta")"
    [ "$(xml_text launchable "$meta")" = "$APP_ID.desktop" ] || fail "the launchable is $(xml_text launchable "$meta")"
    [ "$(xml_text name "$meta")" = "Морской бой" ] || fail "the component's name is $(xml_text name "$meta")"
    local version
    version=$(sed -n 's/^project(SeaBattle VERSION \([0-9.]*\).*/\1/p' "$SRC/CMakeLists.txt")
    grep -q "<release version=\"$version\" date=\"[0-9-]*\"" "$meta" \
        || fail "no release $version in the AppStream description"

    # A package build stages the files under DESTDIR, all of them inside it.
    DESTDIR="$T/stage" timeout 120 cmake --install "$BUILD" --prefix /usr >"$T/stage.log" 2>&1 \
        || fail "a DESTDIR installation failed: $(tail -n 5 "$T/stage.log")"
    [ -x "$T/stage/usr/$GAME_SUBDIR/seabattle" ] && [ -x "$T/stage/usr/bin/seabattle" ] \
        || fail "DESTDIR=$T/stage did not receive the game and its launcher under usr/"
    [ "$(ls -A "$T/stage")" = usr ] || fail "DESTDIR received files outside its prefix"
    note "the installed files are complete and valid"
}

# --- running the installed game ------------------------------------------------------------------

# An Xvfb of the test's own on the first free display of :71 to :79.
start_xvfb() {
    require Xvfb xdotool xwininfo flock
    start_private_xvfb 71 79 1024x768 "$T/xvfb.log" || fail "$PRIVATE_PROBLEM"
    PIDS+=("$PRIVATE_XVFB_PID")
    note "Xvfb on $DISPLAY"
}

window_size() { xwininfo -id "$1" 2>/dev/null | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'; }
# The game's windows on the screen (Qt names its process in _NET_WM_PID).
shown_windows() { xdotool search --onlyvisible --pid "$GAME_PID" 2>/dev/null || true; }
# A shown window of the given size (or of any other size with !SIZE).
shown_window() {
    local w size
    for w in $(shown_windows); do
        size=$(window_size "$w")
        if [ "$1" = "$size" ] || { [ "${1:0:1}" = "!" ] && [ "${1:1}" != "$size" ]; }; then
            echo "$w"
            return 0
        fi
    done
    return 1
}
# wait_window SIZE SECONDS WHAT: sets WIN to the shown window.
wait_window() {
    local deadline=$((SECONDS + $2))
    until WIN=$(shown_window "$1"); do
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended while waiting for $3"
        [ "$SECONDS" -lt "$deadline" ] || fail "no $3 within $2 s"
        sleep 0.1
    done
}
# press_in WINDOW KEY: the key goes to that window (there is no window manager to focus it).
press_in() {
    xdotool windowfocus --sync "$1" 2>/dev/null || true
    xdotool key "$2"
}

# start_game COMMAND...: starts the installed game, answers the authorship notice and waits
# for the main window (MAIN).
start_game() {
    (exec "$@" >"$T/game.out" 2>"$T/game.err") &
    GAME_PID=$!
    PIDS+=("$GAME_PID")
    wait_window '!800x600' 30 "authorship notice"
    local notice=$WIN
    note "the notice is window $notice ($(window_size "$notice"))"
    # A key pressed before the box has taken the focus is lost: press again after a while.
    local attempt
    for attempt in 1 2 3 4 5; do
        sleep 0.2
        press_in "$notice" Return
        for _ in $(seq 30); do
            WIN=$(shown_window 800x600) && break 2
            sleep 0.1
        done
    done
    wait_window 800x600 20 "main window after the notice was answered"
    MAIN=$WIN
    xdotool search --onlyvisible --name '^Морской бой$' | grep -qx "$MAIN" \
        || fail "the main window is not named \"Морской бой\""
    note "main window $MAIN is shown"
}

# Esc asks "Вы действительно хотите Выйти ?"; Return answers with its default "Да".
quit_game() {
    press_in "$MAIN" Escape
    wait_window '!800x600' 10 "\"Выход\" question after Esc"
    sleep 0.2
    press_in "$WIN" Return
    local deadline=$((SECONDS + 10)) status
    while kill -0 "$GAME_PID" 2>/dev/null; do
        [ "$SECONDS" -lt "$deadline" ] || fail "the game did not end after Esc and \"Да\""
        sleep 0.1
    done
    status=0
    wait "$GAME_PID" || status=$?
    [ "$status" -eq 0 ] || fail "the game ended with status $status"
    note "the game ended on Esc and \"Да\""
}

no_media_warnings() {
    if grep -q '^seabattle\.media' "$T/game.err"; then
        fail "the installed game misses media: $(grep -m 3 '^seabattle\.media' "$T/game.err")"
    fi
}

check_launch() {
    start_xvfb
    # A prefix moved as a whole after installation, reached through a link elsewhere, from
    # an unrelated working directory: the launcher must still find the game's folder.
    install_into "$T/first"
    mv "$T/first" "$T/moved"
    mkdir -p "$T/links" "$T/runtime"
    chmod 700 "$T/runtime"
    ln -s "$T/moved/bin/seabattle" "$T/links/seabattle"
    cd /
    # No sound server: the test stays silent on any shared sink.
    start_game env XDG_RUNTIME_DIR="$T/runtime" QT_QPA_PLATFORM=xcb \
        PULSE_SERVER="unix:$T/no-sound-server" "$T/links/seabattle"
    [ "$(readlink -f "/proc/$GAME_PID/exe")" = "$T/moved/$GAME_SUBDIR/seabattle" ] \
        || fail "the launcher ran $(readlink -f "/proc/$GAME_PID/exe")"
    # "Расставить автоматически" lays the fleet out with the ship pictures of the folder.
    eval "$(xdotool getwindowgeometry --shell "$MAIN")"
    xdotool mousemove --sync $((X + 395)) $((Y + 402)) click 1
    sleep 1
    no_media_warnings
    [ -f "$T/moved/$GAME_SUBDIR/Base.mdb" ] \
        || fail "a writable installation keeps no results file in its own folder"
    quit_game
}

check_readonly() {
    require setpriv
    local P="$T/prefix" home="$T/home" user=()
    install_into "$P"
    mkdir -p "$home/runtime"
    chmod 700 "$home/runtime"
    if [ "$(id -u)" -eq 0 ]; then
        # root writes anywhere: the player is nobody, the installation root's.
        id nobody >/dev/null 2>&1 || skip "there is no user nobody to play unprivileged"
        chown -R nobody:"$(id -gn nobody)" "$home"
        user=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups)
    fi
    chmod -R a-w "$P/$GAME_SUBDIR"
    start_xvfb
    cd "$home"
    # A player's plain environment, but for the sanitizer options of a sanitizer build.
    start_game "${user[@]}" env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 DISPLAY="$DISPLAY" \
        XDG_RUNTIME_DIR="$home/runtime" QT_QPA_PLATFORM=xcb PULSE_SERVER="unix:$T/no-sound-server" \
        ASAN_OPTIONS="${ASAN_OPTIONS:-}" LSAN_OPTIONS="${LSAN_OPTIONS:-}" \
        UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" "$P/bin/seabattle"
    local data="$home/.local/share/seabattle/Base.mdb"
    local deadline=$((SECONDS + 10))
    until grep -qF "results are kept in $data" "$T/game.err"; do
        [ "$SECONDS" -lt "$deadline" ] || fail "the game did not say that its results go to $data"
        sleep 0.1
    done
    grep -F "$data" "$T/game.err" | head -n 1 | sed 's/^/    /'
    [ -f "$data" ] || fail "no results file $data"
    [ ! -e "$P/$GAME_SUBDIR/Base.mdb" ] || fail "a results file appeared in the read-only folder"
    no_media_warnings
    quit_game
}

# --- the Debian package ----------------------------------------------------------------------------

# has_dependency FIELD NAME: the control field names the package NAME (alone or in an alternative).
has_dependency() { tr ',|' '\n\n' <<<"$1" | sed 's/(.*//; s/ //g' | grep -qx "$2"; }

check_package() {
    require cpack dpkg-deb dpkg-shlibdeps lintian fakeroot
    local version arch deb control depends dep name f
    version=$(sed -n 's/^project(SeaBattle VERSION \([0-9.]*\).*/\1/p' "$SRC/CMakeLists.txt")
    arch=$(dpkg --print-architecture)
    timeout 300 cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$T/out" >"$T/cpack.log" 2>&1 \
        || fail "cpack -G DEB failed: $(tail -n 10 "$T/cpack.log")"
    deb="$T/out/seabattle_${version}_$arch.deb"
    [ -f "$deb" ] || fail "cpack made no $deb but: $(ls "$T/out")"
    note "made ${deb##*/}, $(du -k "$deb" | cut -f1) KiB"

    # The control fields a package manager and a software centre read.
    control=$(dpkg-deb -f "$deb")
    for pair in "Package: seabattle" "Version: $version" "Architecture: $arch" \
        "Section: games" "Maintainer: Sea Battle developers <seabattle@example.org>"; do
        grep -qxF "$pair" <<<"$control" || fail "the control file lacks \"$pair\": $control"
    done
    [ "$(dpkg-deb -f "$deb" Description | wc -l)" -ge 3 ] || fail "the package has no long description"
    # Libraries as dpkg-shlibdeps finds them, and the files the game opens by name.
    depends=$(dpkg-deb -f "$deb" Depends)
    for name in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6sql6 libqt6svg6 \
        libsdl2-mixer-2.0-0 libsdl2-2.0-0 libfluidsynth3 fluid-soundfont-gm fonts-liberation2 libqt6sql6-sqlite qt6-translations-l10n; do
        has_dependency "$depends" "$name" || fail "Depends lacks $name: $depends"
    done
    # Every package named must be one Debian has, in some alternative: installed here (as the
    # game runs here) or known to apt.
    while IFS= read -r dep; do
        local known=0
        for name in $(tr '|' '\n' <<<"$dep" | sed 's/(.*//'); do
            if dpkg-query -W "$name" >/dev/null 2>&1 || apt-cache show "$name" >/dev/null 2>&1; then
                known=1
            fi
        done
        [ "$known" = 1 ] || fail "no Debian package satisfies the dependency \"$dep\""
    done < <(tr ',' '\n' <<<"$depends, $(dpkg-deb -f "$deb" Recommends)" | sed 's/^ *//; /^$/d')

    # The files, owned by root, all under /usr: the game beside its media, the launcher on
    # the PATH, the desktop entry, the AppStream description, the icons and the copyright.
    dpkg-deb -c "$deb" >"$T/contents"
    awk '$2 != "root/root"' "$T/contents" | grep -q . && fail "files not owned by root: $(awk '$2 != "root/root"' "$T/contents" | head -n 3)"
    awk '{ print $6 }' "$T/contents" | sed 's:^\./::; s:/$::' | sort >"$T/files"
    grep -v '^usr' "$T/files" | grep -q . && fail "files outside /usr: $(grep -v '^usr' "$T/files" | head -n 3)"
    for f in usr/games/seabattle usr/$GAME_SUBDIR/seabattle usr/$GAME_SUBDIR/seabattle-tune $(media_files | sed "s:^:usr/$GAME_SUBDIR/:") \
        usr/share/applications/$APP_ID.desktop usr/share/metainfo/$APP_ID.metainfo.xml \
        usr/share/icons/hicolor/scalable/apps/$APP_ID.svg usr/share/doc/seabattle/copyright \
        usr/share/doc/seabattle/changelog.gz usr/share/man/man6/seabattle.6.gz; do
        grep -qxF "$f" "$T/files" || fail "the package lacks /$f"
    done
    [ "$(grep -c "^usr/share/icons/hicolor/.*/apps/$APP_ID\.png$" "$T/files")" -ge 1 ] \
        || fail "the package has no bitmap icon"
    grep -qx 'usr/bin' "$T/files" && fail "the package keeps an empty /usr/bin"

    # lintian: no error; its warnings are shown.
    lintian --no-tag-display-limit "$deb" >"$T/lintian.log" 2>&1 || true
    if grep -q '^E:' "$T/lintian.log"; then
        fail "lintian reports errors: $(grep '^E:' "$T/lintian.log")"
    fi
    if grep -q '^[WI]:' "$T/lintian.log"; then
        note "lintian's remarks:"
        grep '^[WI]:' "$T/lintian.log" | sed 's/^/    /'
    else
        note "lintian has no remark"
    fi

    # The package's files unpacked into a scratch root, the game started through its launcher.
    dpkg -x "$deb" "$T/root" || fail "dpkg -x could not unpack the package"
    mkdir -p "$T/runtime"
    chmod 700 "$T/runtime"
    start_xvfb
    cd /
    start_game env XDG_RUNTIME_DIR="$T/runtime" QT_QPA_PLATFORM=xcb \
        PULSE_SERVER="unix:$T/no-sound-server" "$T/root/usr/games/seabattle"
    [ "$(readlink -f "/proc/$GAME_PID/exe")" = "$T/root/usr/$GAME_SUBDIR/seabattle" ] \
        || fail "the package's launcher ran $(readlink -f "/proc/$GAME_PID/exe")"
    no_media_warnings
    quit_game
}

case $CASE in
layout) check_layout ;;
launch) check_launch ;;
readonly) check_readonly ;;
package) check_package ;;
*) fail "unknown case $CASE (layout, launch, readonly or package)" ;;
esac
