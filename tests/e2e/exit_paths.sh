#!/usr/bin/env bash
# A finished game whose row the results file refuses (another connection holds its lock),
# and every way the program can end afterwards: Esc answered "Да", SIGTERM, the X server
# going away, SIGKILL; each against every state the pending file can be found in: missing,
# a named pipe, a link, a folder in its place, a data folder that takes no file, no data
# folder at all (a home whose name is not UTF-8, told before the window). No case may
# crash or hang; each ends with the row in the pending file (then moved into the results file
# by the next start) or with the player told in the window that it has no place to go. A game
# killed leaves nothing running, not even a renderer it had only just started.
# The game is a test copy whose player wins at once (lastshot.cpp), with the real main(), at the
# fast test pace: its twenty explosions are not what is checked. One exit path a run, so that
# the four run side by side. Each case runs a copy of its own.
# usage: exit_paths.sh SEABATTLE_EXECUTABLE OUTPUT_DIR LAST_SHOT_EXECUTABLE esc|term|lost|kill
source "$(dirname "$0")/lib.sh"
E2E_SOUND=none e2e_open "$@"
usage="usage: $0 SEABATTLE_EXECUTABLE OUTPUT_DIR LAST_SHOT_EXECUTABLE esc|term|lost|kill"
LAST_SHOT_EXE=${E2E_ARGS[0]:?$usage}
EXIT_PATH=${E2E_ARGS[1]:?$usage}
case $EXIT_PATH in esc | term | lost | kill) ;; *) fail "$usage" ;; esac
E2E_NAME=exit_paths_$EXIT_PATH
fast_battle

BLOCKED=() # data folders made to refuse writes, freed again at the end
unblock() {
    local folder
    for folder in "${BLOCKED[@]}"; do
        chattr -i "$folder" 2>/dev/null || true
        chmod 755 "$folder" 2>/dev/null || true
    done
    BLOCKED=()
}
at_exit unblock

# The processes whose program is FILE, by pid (none: status 1).
running_from() {
    local exe found=1
    for exe in /proc/[0-9]*/exe; do
        [ "$(readlink "$exe" 2>/dev/null)" = "$1" ] || continue
        exe=${exe#/proc/}
        echo "${exe%/exe}"
        found=0
    done
    return $found
}
nothing_running_from() { ! running_from "$1" >/dev/null; }
# Whatever a failed case left running from the test's copies.
stop_leftovers() {
    local exe
    for exe in /proc/[0-9]*/exe; do
        case $(readlink "$exe" 2>/dev/null) in
        "$E2E_TMP"/*) exe=${exe#/proc/} && kill -KILL "${exe%/exe}" ;;
        esac
    done
}
at_exit stop_leftovers

# A folder that refuses new files, also to root (immutable), else by its mode.
block_folder() {
    BLOCKED+=("$1")
    if [ "$(id -u)" -eq 0 ]; then
        chattr +i "$1" || skip "chattr +i does not work on $1's file system"
    else
        chmod 555 "$1"
    fi
}

# Another connection takes the results file's write lock and keeps it until release_lock.
hold_lock() {
    "$E2E_PY" - "$1" >"$E2E_TMP/holder.out" 2>&1 <<'EOF' &
import sqlite3, sys, time
db = sqlite3.connect(sys.argv[1], isolation_level=None)
db.execute('BEGIN EXCLUSIVE')
print('locked', flush=True)
time.sleep(3600)
EOF
    HOLDER_PID=$!
    E2E_PIDS+=("$HOLDER_PID")
    wait_until 10 "the lock on $1" grep -q locked "$E2E_TMP/holder.out"
}
release_lock() { stop_process "$HOLDER_PID"; }

# shot FILE: the whole screen, with the game's boxes, as a PNG.
shot() {
    import -silent -window root "$1"
    note "screenshot: $1"
}

# no_box_for SECONDS: no message box of the game comes up within that time.
no_box_for() {
    local deadline=$((SECONDS + $1))
    while [ "$SECONDS" -le "$deadline" ]; do
        ! message_box >/dev/null || return 1
        sleep 0.1
    done
}

# pending_rows: the rows waiting in the pending file whose winner is the player with 20 hits.
pending_rows() {
    sqlite3 "$PENDING" "select count(*) from tPending where \"Победитель\" = 'Игрок' and \"Попаданий юзера\" = '20'" 2>/dev/null || echo 0
}
pending_holds_the_row() { [ -f "$PENDING" ] && [ "$(pending_rows)" -eq 1 ]; }
row_moved() { [ "$(result_rows)" -eq 1 ] && [ "$(pending_rows)" -eq 0 ]; }

# A lock that outlasts the patience is told some seconds later: waited for on the Esc path only.
LATER_SHOWN=
[ "$EXIT_PATH" = esc ] || LATER_SHOWN=checked-on-the-esc-path
exit_path=$EXIT_PATH

# The game killed at the worst moment for its tune's renderer: just after starting it, before
# the renderer's own code has run (loading its libraries takes seconds on a busy machine). A
# stand-in renderer stays at that moment; it must end with the game.
if [ "$exit_path" = kill ]; then
    note "--- kill-rendering"
    copy_game
    STAND_IN="$GAME_DIR/renderer-stand-in"
    cp "$(command -v sleep)" "$STAND_IN"
    printf '#!/bin/sh\nexec "%s" 600\n' "$STAND_IN" >"$GAME_DIR/seabattle-tune"
    start_game_copy
    wait_until 30 "the game to start its tune's renderer" running_from "$STAND_IN"
    kill -KILL "$GAME_PID"
    wait_game_end 10 "SIGKILL"
    WIN=
    wait_until 10 "the renderer to end with the killed game" nothing_running_from "$STAND_IN"
    note "kill-rendering passed"
fi

# The notice at start answered, then the box telling the home cannot be used.
answer_notice_and_home() {
    answer_box "$1" "$2"
    local box
    box=$(wait_for_box 10 "the box telling the home cannot be used")
    [ "$exit_path" = esc ] && shot "$E2E_OUT/exit_paths-no-home.png"
    answer_box "$box" Return
    grep -q "HOME is not valid UTF-8" "$E2E_TMP/game.err" || fail "the log does not say why the home is not used"
}

for state in missing pipe link folder read-only no-home; do
    case_name="$exit_path-$state"
    note "--- $case_name"
    copy_game
    cp "$LAST_SHOT_EXE" "$GAME_DIR/seabattle"
    export XDG_DATA_HOME="$E2E_TMP/data-$case_name"
    DATA="$XDG_DATA_HOME/seabattle"
    PENDING="$DATA/pending-results.db"
    NOTES="$E2E_TMP/notes-$case_name"
    echo "the player's own notes" >"$NOTES"
    mkdir -p "$DATA"
    case $state in
    pipe) mkfifo "$PENDING" ;;
    link) ln -s "$NOTES" "$PENDING" ;;
    folder) mkdir "$PENDING" ;;
    read-only) block_folder "$DATA" ;;
    no-home)
        ODD_HOME="$E2E_TMP/home-$case_name-"$'\xff'
        mkdir "$ODD_HOME"
        unset XDG_DATA_HOME
        ;;
    esac

    rm -f "$E2E_TMP/go"
    if [ "$state" = no-home ]; then
        ANSWER_NOTICE=answer_notice_and_home start_game_copy SEABATTLE_LAST_SHOT_AFTER="$E2E_TMP/go" \
            HOME="$ODD_HOME" XDG_CACHE_HOME="$E2E_TMP/cache-$case_name"
    else
        start_game_copy SEABATTLE_LAST_SHOT_AFTER="$E2E_TMP/go"
    fi
    sqlite3 "$GAME_DIR/Base.mdb" 'select count(*) from tBase' >/dev/null
    hold_lock "$GAME_DIR/Base.mdb"
    touch "$E2E_TMP/go"
    box=$(wait_for_box 60 "\"Вы выиграли\" after the last shot")
    answer_box "$box" Return
    if [ "$state" = missing ]; then
        pending_holds_the_row || fail "$case_name: the pending file does not hold the row"
        if [ -z "$LATER_SHOWN" ]; then
            box=$(wait_for_box 20 "the results file staying busy")
            snap
            shot "$E2E_OUT/exit_paths-still-busy.png"
            answer_box "$box" Return
            LATER_SHOWN=yes
        else
            no_box_for 1 || fail "$case_name: a busy results file was told at once"
        fi
    else
        box=$(wait_for_box 10 "the player told the row has no place on disk")
        [ "$exit_path" = esc ] && shot "$E2E_OUT/exit_paths-no-place-$state.png"
        answer_box "$box" Return
        grep -q "have no place on disk for now" "$E2E_TMP/game.err" \
            || fail "$case_name: the log does not say the row has no place"
    fi

    case $exit_path in
    esc) quit_game ;;
    term) kill -TERM "$GAME_PID" ;;
    lost) stop_process "$PRIVATE_XVFB_PID" ;;
    kill) kill -KILL "$GAME_PID" ;;
    esac
    wait_game_end 10 "$case_name"
    WIN=
    if [ "$exit_path" = kill ]; then
        [ "$GAME_EXIT" -eq 137 ] || fail "$case_name: exit code $GAME_EXIT after SIGKILL"
        wait_until 10 "$case_name: the tune's renderer to end with the game" \
            nothing_running_from "$GAME_DIR/seabattle-tune"
    else
        [ "$GAME_EXIT" -lt 128 ] || fail "$case_name: ended by signal $((GAME_EXIT - 128))"
    fi
    ! grep -q -i "segmentation\|AddressSanitizer\|runtime error" "$E2E_TMP/game.err" \
        || fail "$case_name: the game's stderr reports a crash"
    release_lock
    [ "$exit_path" = lost ] && start_xvfb

    case $state in
    missing)
        pending_holds_the_row || fail "$case_name: the row left the pending file at the end"
        # The next start moves it into the results file.
        cp "$GAME_EXE" "$GAME_DIR/seabattle"
        start_game_copy
        wait_until 20 "the pending row to be moved into the results file" row_moved
        quit_game
        ;;
    pipe) [ -p "$PENDING" ] || fail "$case_name: the pipe was replaced" ;;
    link) [ "$(cat "$NOTES")" = "the player's own notes" ] || fail "$case_name: written through the link" ;;
    folder) [ -z "$(ls -A "$PENDING")" ] || fail "$case_name: something was written into the folder" ;;
    read-only)
        [ -z "$(ls -A "$DATA")" ] || fail "$case_name: the data folder took a file"
        unblock
        ;;
    no-home)
        # The game keeps nothing in it (D-Bus may leave its own .dbus there when the display goes).
        [ -z "$(find "$ODD_HOME" -mindepth 1 -maxdepth 1 -name '.local' -o -name '.cache' -o \
            -name '*seabattle*')" ] || fail "$case_name: the game wrote into the home"
        [ "$(find "$E2E_TMP" -maxdepth 1 -name "home-$case_name*" | wc -l)" -eq 1 ] \
            || fail "$case_name: a folder was made beside the home"
        ;;
    esac
    note "$case_name passed"
done
note "passed"
