# shellcheck shell=bash
# Sourced by install_test.sh and package_test.sh: a scratch folder, messages, and the installed
# game started on an X server of the test's own and answered with keys.
# The caller sets CASE (the test's name) and SRC (the source tree) first. A test stops at its
# first failed step (tests/failfast.sh); every wait has a deadline of its own.

# shellcheck source=../failfast.sh
source "$SRC/tests/failfast.sh"
# shellcheck source=../../tools/private-servers.sh
source "$SRC/tools/private-servers.sh"
APP_ID=org.seabattle.SeaBattle
# Debian's places for a game, relative to the prefix.
PROGRAM_DIR=games
MEDIA_DIR=share/games/seabattle
HELPER_DIR=lib/games/seabattle

T=$(mktemp -d /tmp/seabattle-install.XXXXXX)
FAILFAST_TOLD="$T/failed"
chmod 755 "$T" # the unprivileged player must reach the prefix inside
PIDS=()        # started here, stopped at exit (newest first)
CLEANUPS=()    # commands run at exit, before the scratch folder goes
GAME_PID=

note() { printf '[%s %s] %s\n' "$(date +%T)" "$CASE" "$*"; }
fail() {
    echo "FAIL [$CASE]: $*" >&2
    if [ -s "$T/game.err" ]; then
        echo "--- the game's stderr:" >&2
        tail -n 30 "$T/game.err" >&2
    fi
    failfast_told
    exit 1
}
skip() {
    echo "SKIP [$CASE]: $*"
    exit 77
}

cleanup() {
    local rc=$? i
    trap - EXIT
    for ((i = ${#PIDS[@]} - 1; i >= 0; i--)); do
        stop_process "${PIDS[i]}"
    done
    for ((i = ${#CLEANUPS[@]} - 1; i >= 0; i--)); do
        eval "${CLEANUPS[i]}" || true
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

# The media files as media/CMakeLists.txt lists them.
media_files() {
    sed -n '/^set(SEABATTLE_MEDIA_FILES/,/)/p' "$SRC/media/CMakeLists.txt" \
        | sed 's/set(SEABATTLE_MEDIA_FILES//; s/)//' | tr -s ' \t' '\n\n' | sed '/^$/d'
}

# The files an installation holds under its prefix, one a line, sorted: the program, its
# media and helper, the manual page, the menu entry, the AppStream description and the icons.
expected_files() {
    {
        echo "$PROGRAM_DIR/seabattle"
        media_files | sed "s:^:$MEDIA_DIR/:"
        echo "$HELPER_DIR/seabattle-tune"
        echo "share/man/man6/seabattle.6"
        echo "share/applications/$APP_ID.desktop"
        echo "share/metainfo/$APP_ID.metainfo.xml"
        (cd "$SRC/desktop/icons" && find hicolor -type f \( -name '*.png' -o -name '*.svg' \)) \
            | sed 's:^:share/icons/:'
    } | sort
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
    wait_window '!800x600' 60 "authorship notice"
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

# "Расставить автоматически" lays the fleet out with the ship pictures of the media folder
# (the click is handled before any key pressed after it, so a missing picture has been
# reported once the game has quit).
place_fleet() {
    local X Y WINDOW SCREEN WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$MAIN")"
    xdotool mousemove --sync $((X + 395)) $((Y + 402)) click 1
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

# tune_rendered HOME: the game found its renderer: the rendered tune reaches the player's cache
# (with a General MIDI SoundFont to render it with).
tune_rendered() {
    if [ ! -e /usr/share/sounds/sf2/default-GM.sf2 ] && [ ! -e /usr/share/sounds/sf3/default-GM.sf3 ]; then
        note "no General MIDI SoundFont here: the tune's renderer is not checked"
        return 0
    fi
    local deadline=$((SECONDS + 60))
    until find "$1/.cache/seabattle" -type f -name '*.wav' 2>/dev/null | grep -q .; do
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended before its tune was rendered"
        [ "$SECONDS" -lt "$deadline" ] || fail "no rendered tune in $1/.cache/seabattle within 60 s: the renderer was not found or failed"
        sleep 0.2
    done
    note "the tune was rendered into $(find "$1/.cache/seabattle" -type f -name '*.wav' | head -n 1)"
}

no_media_warnings() {
    if grep -q '^seabattle\.media' "$T/game.err"; then
        fail "the installed game misses media: $(grep -m 3 '^seabattle\.media' "$T/game.err")"
    fi
}

# quiet_about_results DATA_FOLDER: an installed game keeps its results in the player's data
# folder as a matter of course and says nothing about it.
quiet_about_results() {
    if grep -F "$1" "$T/game.err" | grep -q .; then
        fail "the installed game talks about where its results live: $(grep -m 2 -F "$1" "$T/game.err")"
    fi
}
