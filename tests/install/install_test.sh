#!/usr/bin/env bash
# The installed game: `cmake --install` into a scratch prefix, checked the way a desktop and a
# player meet it. Usage: install_test.sh layout|launch BUILD_DIR SOURCE_DIR
#   layout    every file in its place and nothing else, their contents, the validators of the
#             desktop entry and of the AppStream description, a DESTDIR staging
#   launch    a prefix moved after installation, started through a link to its program on an
#             X server of the test's own: notice, main window, placement, Esc and "Да"; the
#             results in the player's data folder, nothing written under the prefix
set -euo pipefail

CASE=install_$1
BUILD=$(cd "$2" && pwd)
SRC=$(cd "$3" && pwd)
# shellcheck source=lib.sh
source "$SRC/tests/install/lib.sh"

install_into() {
    timeout 120 cmake --install "$BUILD" --prefix "$1" >"$T/install.log" 2>&1 \
        || fail "cmake --install --prefix $1 failed: $(tail -n 5 "$T/install.log")"
}

# desktop_value KEY FILE: the value of a key of the desktop entry (KEY[ru] for a translation).
desktop_value() { awk -v key="$1=" 'index($0, key) == 1 { print substr($0, length(key) + 1); exit }' "$2"; }
# png_size FILE: WIDTHxHEIGHT of a PNG, from its header.
png_size() { od -An -tx1 -j16 -N8 "$1" | tr -d ' \n' | { read -r h; echo "$((16#${h:0:8}))x$((16#${h:8:8}))"; }; }
# xml_text ELEMENT FILE: the text of the first untranslated element of that name.
xml_text() { sed -n "/xml:lang/!s:.*<$1[^>]*>\\([^<]*\\)</$1>.*:\\1:p" "$2" | head -n 1; }

check_layout() {
    require desktop-file-validate appstreamcli readelf cmp od
    local P="$T/prefix" f
    install_into "$P"

    # Exactly the expected files: the build folder's results file is not shipped, nor
    # anything else of the build.
    (cd "$P" && find . -type f -o -type l) | sed 's:^\./::' | sort >"$T/installed"
    expected_files >"$T/expected"
    [ "$(media_files | wc -l)" -eq 13 ] || fail "media/CMakeLists.txt lists $(media_files | wc -l) files, not 13"
    diff "$T/expected" "$T/installed" >"$T/files.diff" \
        || fail "the installation differs from the expected files (< missing, > extra): $(cat "$T/files.diff")"
    for f in $(media_files); do
        cmp -s "$SRC/media/$f" "$P/$MEDIA_DIR/$f" || fail "the installed $f differs from media/$f"
    done
    # Whatever the build copies into its game folder is installed somewhere.
    for f in "$BUILD"/game/*; do
        case ${f##*/} in Base.mdb*) continue ;; esac
        grep -q "/${f##*/}\$" "$T/installed" || fail "${f##*/} of the build's game folder is not installed"
    done
    # Programs, with the system's Qt and nothing from the build tree.
    for f in "$PROGRAM_DIR/seabattle" "$HELPER_DIR/seabattle-tune"; do
        [ -x "$P/$f" ] || fail "$f is not executable"
        head -c 4 "$P/$f" | grep -q ELF || fail "$f is not a program"
        if readelf -d "$P/$f" | grep -E 'R(UN)?PATH' | grep -q "$BUILD"; then
            fail "the installed $f still searches the build folder for libraries"
        fi
    done
    grep -q '^\.TH SEABATTLE 6 .*seabattle [0-9]' "$P/share/man/man6/seabattle.6" \
        || fail "the manual page names no version: $(head -n 1 "$P/share/man/man6/seabattle.6")"

    # --help and --version answered in the terminal without a display, as the manual page says;
    # the version is the project's. In Russian whatever the language of the machine, and in
    # English for a player whose desktop speaks it.
    local version option
    version=$(sed -n 's/^project(SeaBattle VERSION \([0-9.]*\).*/\1/p' "$SRC/CMakeLists.txt")
    env -u DISPLAY LANGUAGE= LC_ALL= LC_MESSAGES= LANG=en_US.UTF-8 timeout 20 \
        "$P/$PROGRAM_DIR/seabattle" --version >"$T/option.out" 2>"$T/option.err" \
        || fail "seabattle --version in English failed: $(cat "$T/option.err")"
    head -n 1 "$T/option.out" | grep -qx "seabattle (Sea Battle) $version" \
        || fail "seabattle --version in English says $(head -n 1 "$T/option.out")"
    for option in --help --version; do
        env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb LANGUAGE= LC_ALL= LC_MESSAGES= \
            LANG=C.UTF-8 timeout 20 "$P/$PROGRAM_DIR/seabattle" \
            "$option" >"$T/option.out" 2>"$T/option.err" \
            || fail "seabattle $option without a display failed: $(cat "$T/option.err")"
        [ ! -s "$T/option.err" ] || fail "seabattle $option wrote to stderr: $(cat "$T/option.err")"
        grep '^\.BR* ' "$P/share/man/man6/seabattle.6" | grep -qF -- "${option//-/\\-}" \
            || fail "the manual page does not list $option"
    done
    head -n 1 "$T/option.out" | grep -qx "seabattle (Морской бой) $version" \
        || fail "seabattle --version says $(head -n 1 "$T/option.out"), not version $version"
    grep -qF "$(sed -n 's/^Copyright \([0-9]*\) .*/\1/p' "$SRC/AUTHORS") Разработчики игры" "$T/option.out" \
        || fail "seabattle --version does not name the copyright of AUTHORS: $(cat "$T/option.out")"

    # The desktop entry: valid, and every key a menu relies on.
    local entry="$P/share/applications/$APP_ID.desktop"
    desktop-file-validate "$entry" >"$T/dfv.log" 2>&1 || fail "desktop-file-validate: $(cat "$T/dfv.log")"
    local pair key value
    for pair in "Type=Application" "Name=Sea Battle" "Name[ru]=Морской бой" "Exec=seabattle" \
        "Icon=$APP_ID" "Terminal=false"; do
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
    [ -x "$P/$PROGRAM_DIR/$(desktop_value Exec "$entry" | cut -d' ' -f1)" ] \
        || fail "the desktop entry's Exec does not name the program in $PROGRAM_DIR/"

    # Every icon size drawn for the game, under the name the entry gives.
    local rel
    while IFS= read -r f; do
        rel=${f#"$SRC/desktop/icons/"}
        [ "$(basename "${rel%.*}")" = "$APP_ID" ] || fail "the icon $rel is not named $APP_ID"
        cmp -s "$f" "$P/share/icons/$rel" || fail "the icon $rel is not installed as drawn"
    done < <(find "$SRC/desktop/icons/hicolor" -type f \( -name '*.png' -o -name '*.svg' \))
    [ -f "$P/share/icons/hicolor/scalable/apps/$APP_ID.svg" ] || fail "no scalable icon"

    # The AppStream description: valid alone and together with the entry it launches.
    local meta="$P/share/metainfo/$APP_ID.metainfo.xml"
    appstreamcli validate --no-net "$meta" >"$T/asv.log" 2>&1 || fail "appstreamcli validate: $(cat "$T/asv.log")"
    appstreamcli validate-tree --no-net "$P" >"$T/ast.log" 2>&1 || fail "appstreamcli validate-tree: $(cat "$T/ast.log")"
    [ "$(xml_text id "$meta")" = "$APP_ID" ] || fail "the component id is $(xml_text id "$meta")"
    [ "$(xml_text launchable "$meta")" = "$APP_ID.desktop" ] || fail "the launchable is $(xml_text launchable "$meta")"
    [ "$(xml_text name "$meta")" = "Sea Battle" ] || fail "the component's name is $(xml_text name "$meta")"
    grep -qF '<name xml:lang="ru">Морской бой</name>' "$meta" || fail "the component has no Russian name"
    # The screenshot it points to is the one in the source tree, of the size it states.
    local shot size
    shot=$(sed -n 's:.*<image[^>]*>[^<]*/\([^/<]*\)</image>.*:\1:p' "$meta")
    [ -n "$shot" ] && [ -f "$SRC/desktop/screenshots/$shot" ] \
        || fail "the screenshot '$shot' of the AppStream description is not in desktop/screenshots/"
    size=$(sed -n 's:.*<image[^>]* width="\([0-9]*\)" height="\([0-9]*\)".*:\1x\2:p' "$meta")
    [ "$(png_size "$SRC/desktop/screenshots/$shot")" = "$size" ] \
        || fail "the screenshot $shot is not of the size $size the description states"
    grep -q "<release version=\"$version\" date=\"[0-9-]*\"" "$meta" \
        || fail "no release $version in the AppStream description"

    # A package build stages the files under DESTDIR, all of them inside it.
    DESTDIR="$T/stage" timeout 120 cmake --install "$BUILD" --prefix /usr >"$T/stage.log" 2>&1 \
        || fail "a DESTDIR installation failed: $(tail -n 5 "$T/stage.log")"
    [ -x "$T/stage/usr/$PROGRAM_DIR/seabattle" ] && [ -f "$T/stage/usr/$MEDIA_DIR/XField.bmp" ] \
        || fail "DESTDIR=$T/stage did not receive the game and its media under usr/"
    [ "$(ls -A "$T/stage")" = usr ] || fail "DESTDIR received files outside its prefix"
    note "the installed files are complete and valid"
}

check_launch() {
    start_xvfb
    # A prefix moved as a whole after installation, reached through a link elsewhere, from
    # an unrelated working directory: the game must still find its media and its helper.
    install_into "$T/first"
    mv "$T/first" "$T/moved"
    local P="$T/moved" home="$T/home"
    mkdir -p "$T/links" "$home/runtime"
    chmod 700 "$home/runtime"
    ln -s "$P/$PROGRAM_DIR/seabattle" "$T/links/seabattle"
    (cd "$P" && find . | sort) >"$T/prefix.before"
    cd /
    # A player's plain environment (but for a sanitizer build's options), no sound server:
    # the test stays silent on any shared sink.
    start_game env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 DISPLAY="$DISPLAY" \
        XDG_RUNTIME_DIR="$home/runtime" QT_QPA_PLATFORM=xcb PULSE_SERVER="unix:$T/no-sound-server" \
        ASAN_OPTIONS="${ASAN_OPTIONS:-}" LSAN_OPTIONS="${LSAN_OPTIONS:-}" \
        UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" "$T/links/seabattle"
    [ "$(readlink -f "/proc/$GAME_PID/exe")" = "$P/$PROGRAM_DIR/seabattle" ] \
        || fail "the link ran $(readlink -f "/proc/$GAME_PID/exe")"
    tune_rendered "$home"
    place_fleet
    quit_game
    no_media_warnings
    # The results in the data folder, even where the prefix could be written (as root).
    local data="$home/.local/share/seabattle"
    [ -f "$data/Base.mdb" ] || fail "no results file in the data folder $data"
    (cd "$P" && find . | sort) >"$T/prefix.after"
    diff "$T/prefix.before" "$T/prefix.after" >"$T/prefix.diff" \
        || fail "the game wrote under its prefix: $(cat "$T/prefix.diff")"
    quiet_about_results "$data"
    note "the moved installation ran, its results in $data"
}

case $1 in
layout) check_layout ;;
launch) check_launch ;;
*) fail "unknown case $1 (layout or launch)" ;;
esac
