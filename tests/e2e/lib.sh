# Helpers of the end-to-end tests, sourced by each test script, which then calls e2e_open:
# an X server and a sound server of the test's own, the real game run from a private
# copy of its folder, clicks at window coordinates and pixels read back from screenshots.
# Coordinates given to the helpers are those of the game window's client area. A test stops at
# its first failed step (tests/failfast.sh); every wait has a deadline of its own.
E2E_HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../failfast.sh
source "$E2E_HERE/../failfast.sh"
E2E_NAME=$(basename "$0" .sh)
# shellcheck source=../../tools/private-servers.sh
source "$E2E_HERE/../../tools/private-servers.sh"
E2E_TMP=$(mktemp -d /tmp/seabattle-e2e.XXXXXX)
FAILFAST_TOLD="$E2E_TMP/failed"
# The game's rendered tune is kept in the test's own cache, not in the user's.
export XDG_CACHE_HOME="$E2E_TMP/cache"
E2E_PIDS=()     # children to stop at exit, newest first
E2E_AT_EXIT=()  # the test's own commands run at exit after that (at_exit)
E2E_COPIES=0    # the copies of the game's folder made so far
E2E_OUT=${E2E_OUT:-$PWD}
GAME_EXE=
GAME_DIR=
GAME_PID=
WIN=
WIN_X=0
WIN_Y=0
SCREEN_W=${SCREEN_W:-1024}
SCREEN_H=${SCREEN_H:-768}
# The main window in screen pixels: 800 x 600, twice that on a screen scaled by 2.
MAIN_SIZE=${MAIN_SIZE:-800x600}
# The main window's title: the game's name in the language it speaks.
GAME_TITLE=${GAME_TITLE:-Морской бой}
SNAP="$E2E_TMP/snap.rgb"
# The system's interpreter starts faster than a version manager's shim; pixels are polled often.
E2E_PY=/usr/bin/python3
[ -x "$E2E_PY" ] || E2E_PY=python3
# Each wait for the game's window, box or end may take this many times its seconds: a
# sanitizer build's game is some three times slower at everything (the suite sets it there).
# The pace the game must keep, which the tests measure, is not stretched.
E2E_PATIENCE=${E2E_PATIENCE:-1}
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY SESSION_MANAGER

note() { printf '[%s %s] %s\n' "$(date +%T.%3N)" "$E2E_NAME" "$*"; }
fail() {
    echo "FAIL [$E2E_NAME]: $*" >&2
    failfast_told
    exit 1
}
skip() {
    echo "SKIP [$E2E_NAME]: $*"
    exit 77
}

# The opening of every test script: e2e_open SEABATTLE_EXECUTABLE [OUTPUT_DIR [MORE...]] takes
# the game to run and the folder for the test's pictures (the current one by default; MORE is
# left in E2E_ARGS), then starts an X server of the test's own and, as E2E_SOUND says, a sound
# server: "optional" (the default: the game plays on without one), "required" (the test is
# skipped without one) or "none".
e2e_open() {
    GAME_EXE=${1:?"usage: $0 SEABATTLE_EXECUTABLE [OUTPUT_DIR]"}
    E2E_OUT=${2:-$E2E_OUT}
    E2E_ARGS=("${@:3}")
    mkdir -p "$E2E_OUT"
    start_xvfb
    case ${E2E_SOUND:-optional} in
    none) ;;
    required) start_pulse || skip "no PulseAudio server to play into: $E2E_PULSE_PROBLEM" ;;
    *) start_pulse || note "the game plays without a sound server: $E2E_PULSE_PROBLEM" ;;
    esac
}

# fast_battle: the games the test starts from now on run their battle FAST_PACE times faster
# (the game's test-only setting SEABATTLE_TEST_PACE), for tests of what happens rather than
# when: the computer moves every 75 ms, the explosion is drawn in a few frames.
FAST_PACE=20
fast_battle() { export SEABATTLE_TEST_PACE=$FAST_PACE; }
battle_is_fast() { [ "${SEABATTLE_TEST_PACE:-1}" -gt 1 ]; }

# at_exit COMMAND...: run when the test ends, however it ends, once its children are stopped.
at_exit() { E2E_AT_EXIT+=("$(printf '%q ' "$@")"); }

e2e_cleanup() {
    local rc=$? i
    trap - EXIT
    if [ "$rc" -ne 0 ] && [ "$rc" -ne 77 ]; then
        if [ -n "$WIN" ] && [ -n "${DISPLAY:-}" ] && snap 2>/dev/null; then
            screenshot "$E2E_OUT/$E2E_NAME-failure.png" 2>/dev/null \
                && echo "screen at the failure: $E2E_OUT/$E2E_NAME-failure.png" >&2
        fi
        if [ -s "$E2E_TMP/game.err" ]; then
            echo "--- the game's stderr:" >&2
            tail -n 40 "$E2E_TMP/game.err" >&2
        fi
    fi
    for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
        stop_process "${E2E_PIDS[i]}"
    done
    for ((i = ${#E2E_AT_EXIT[@]} - 1; i >= 0; i--)); do
        eval "${E2E_AT_EXIT[i]}" || true
    done
    rm -rf "$E2E_TMP"
    exit "$rc"
}
trap e2e_cleanup EXIT
trap 'exit 130' INT TERM HUP

require_tools() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null \
            || fail "the tool '$tool' is missing (tools/install-deps.sh installs it)"
    done
}

# wait_until SECONDS WHAT COMMAND...: polls COMMAND every 0.1 s; fails naming WHAT.
wait_until() {
    local seconds=$(($1 * E2E_PATIENCE)) what=$2
    shift 2
    local deadline=$((SECONDS + seconds))
    until "$@" >/dev/null; do
        [ "$SECONDS" -lt "$deadline" ] || fail "waited ${seconds}s in vain for $what"
        sleep 0.1
    done
}

# An Xvfb of the test's own on the first free display of :61 to :69.
start_xvfb() {
    require_tools Xvfb xdotool xwininfo import convert flock timeout sqlite3 "$E2E_PY"
    # The display of a server the test has stopped (a lost display) is free for others again.
    [ -z "${PRIVATE_XVFB_LOCK:-}" ] || exec {PRIVATE_XVFB_LOCK}>&-
    start_private_xvfb 61 69 "${SCREEN_W}x${SCREEN_H}" "$E2E_TMP/xvfb.log" || fail "$PRIVATE_PROBLEM"
    E2E_PIDS+=("$PRIVATE_XVFB_PID")
    note "Xvfb on $DISPLAY"
}

# A PulseAudio daemon of the test's own with one null sink, "seabattle_null", as its default
# output: what the game plays there is heard by nothing but this test's recorder. Returns 1
# (with the reason in E2E_PULSE_PROBLEM) when no daemon can be started.
start_pulse() {
    E2E_PULSE_PROBLEM=
    if ! start_private_pulse "$E2E_TMP/pulse"; then
        E2E_PULSE_PROBLEM=$PRIVATE_PROBLEM
        return 1
    fi
    E2E_PIDS+=("$PRIVATE_PULSE_PID")
    note "PulseAudio at $PULSE_SERVER"
}

# The game's windows: the main window (800 x 600) and its message boxes.
game_windows() { xdotool search --class seabattle 2>/dev/null || true; }
is_viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
window_size() { xwininfo -id "$1" 2>/dev/null | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }

# Prints the id of a message box of the game that is on the screen, if there is one.
message_box() {
    local w
    for w in $(game_windows); do
        [ "$w" = "$WIN" ] && continue
        if is_viewable "$w" && [ "$(window_size "$w")" != "$MAIN_SIZE" ]; then
            echo "$w"
            return 0
        fi
    done
    return 1
}

wait_for_box() {
    local seconds=$(($1 * E2E_PATIENCE)) what=$2 box
    local deadline=$((SECONDS + seconds))
    until box=$(message_box); do
        [ "$SECONDS" -lt "$deadline" ] || fail "no message box appeared within ${seconds}s ($what)"
        sleep 0.1
    done
    echo "$box"
}

# answer_box BOX KEY: presses KEY in the box and waits until it is gone.
answer_box() {
    local box=$1 key=$2
    xdotool windowfocus "$box" 2>/dev/null || true
    sleep 0.1
    xdotool key "$key"
    wait_until 5 "the message box $box to close after $key" box_gone "$box"
}
box_gone() { ! is_viewable "$1"; }

main_window() {
    local w
    for w in $(game_windows); do
        if is_viewable "$w" && [ "$(window_size "$w")" = "$MAIN_SIZE" ]; then
            echo "$w"
            return 0
        fi
    done
    return 1
}

# start_game [VAR=VALUE...]: runs a copy of the game's folder (without results from earlier
# runs), answers the authorship notice with Return (or as ANSWER_NOTICE, a command given the
# box and the key, does) and waits for the main window.
start_game() {
    copy_game
    start_game_copy "$@"
}

# copy_game: a copy of the game's folder in a folder of its own (GAME_DIR), so that nothing an
# earlier copy left behind is in the way.
copy_game() {
    E2E_COPIES=$((E2E_COPIES + 1))
    GAME_DIR="$E2E_TMP/game-$E2E_COPIES"
    mkdir "$GAME_DIR"
    cp -a "$(dirname "$GAME_EXE")"/. "$GAME_DIR"/ || fail "the game's folder cannot be copied"
    rm -f "$GAME_DIR/Base.mdb" "$GAME_DIR"/Base.mdb-*
}

# Runs the copy in GAME_DIR as it is (its media may have been changed by the test). The game
# gets none of the test's own files (the pixel reader's pipes, the display's lock), and speaks
# Russian whatever the language of the desktop the tests run on, unless a test sets LANG.
start_game_copy() {
    mkdir -p "$E2E_TMP/runtime"
    chmod 700 "$E2E_TMP/runtime"
    (
        exec {PIXELS_IN}>&- {PIXELS_OUT}<&- {PRIVATE_XVFB_LOCK}>&-
        cd "$GAME_DIR" && exec env XDG_RUNTIME_DIR="$E2E_TMP/runtime" LANGUAGE= LC_ALL= LC_MESSAGES= \
            LANG=C.UTF-8 "$@" ./seabattle \
            >"$E2E_TMP/game.out" 2>"$E2E_TMP/game.err"
    ) &
    GAME_PID=$!
    E2E_PIDS+=("$GAME_PID")
    note "game started (pid $GAME_PID) in $GAME_DIR"
    wait_until 30 "a window named \"$GAME_TITLE\"" game_window_named
    local notice
    notice=$(wait_for_box 30 "the authorship notice at start-up")
    note "authorship notice: window $notice, $(window_size "$notice")"
    NOTICE_ANSWERED=$(date +%s.%N)
    ${ANSWER_NOTICE:-answer_box} "$notice" Return
    wait_until 20 "the main window (800x600) to be shown" main_window
    WIN=$(main_window)
    window_origin
    # The first frame is on the screen once the bare background shows at its place.
    wait_until 10 "the window's background to be drawn" pixel_near_now 420 470 69 87 129 2
    note "main window $WIN at ($WIN_X,$WIN_Y)"
}

game_running() { kill -0 "$GAME_PID" 2>/dev/null; }
# The game has shown a window of its name; a game that has ended fails the test at once.
game_window_named() {
    game_running || fail "the game ended before its window came"
    xdotool search --name "$GAME_TITLE" >/dev/null 2>&1
}

# quit_game: Esc, then Return for the question's default answer, Yes; the game must end
# within 10 s with exit code 0 (in a sanitizer build also free of reports at its exit).
quit_game() {
    xdotool windowfocus "$WIN" 2>/dev/null || true
    xdotool key Escape
    local box
    box=$(wait_for_box 10 "the question to quit after Esc")
    xdotool windowfocus "$box" 2>/dev/null || true
    xdotool key Return
    wait_game_end 10 "Esc was answered with Yes"
    [ "$GAME_EXIT" -eq 0 ] || fail "the game ended with exit code $GAME_EXIT after Esc and Yes"
    WIN=
}

# wait_game_end SECONDS WHAT: the game must end by then; its exit code goes to GAME_EXIT.
wait_game_end() {
    local seconds=$(($1 * E2E_PATIENCE))
    for _ in $(seq $((seconds * 10))); do
        game_running || break
        sleep 0.1
    done
    ! game_running || fail "the game still runs $seconds s after $2"
    wait "$GAME_PID" && GAME_EXIT=0 || GAME_EXIT=$?
}

window_origin() {
    eval "$(xdotool getwindowgeometry --shell "$WIN")"
    WIN_X=$X
    WIN_Y=$Y
}

# click_at X Y [BUTTON]: moves the pointer there and presses the button (1, the left one).
click_at() {
    local x=$((WIN_X + $1)) y=$((WIN_Y + $2)) at
    at=$(xdotool getmouselocation)
    # --sync waits for the pointer to arrive: 15 s in vain when it is there already.
    if [ "${at%% screen:*}" = "x:$x y:$y" ]; then
        xdotool click "${3:-1}"
    else
        xdotool mousemove --sync "$x" "$y" click "${3:-1}"
    fi
}

# The centre of a cell: FIELD left (the player's) or right (the computer's), ROW and COL 1 to 10.
cell_centre() {
    local left_x=48
    [ "$1" = right ] && left_x=456
    echo "$((left_x + 32 * ($3 - 1) + 16)) $((48 + 32 * ($2 - 1) + 16))"
}
click_cell() {
    local xy
    xy=$(cell_centre "$@")
    click_at ${xy% *} ${xy#* }
}

# The pixels are read by one process for the whole test (pixels.py), asked a line at a time.
mkfifo "$E2E_TMP/pixels.in" "$E2E_TMP/pixels.out"
"$E2E_PY" "$E2E_HERE/pixels.py" "$SCREEN_W" "$SCREEN_H" "$SNAP" \
    <"$E2E_TMP/pixels.in" >"$E2E_TMP/pixels.out" &
E2E_PIDS+=("$!")
exec {PIXELS_IN}>"$E2E_TMP/pixels.in" {PIXELS_OUT}<"$E2E_TMP/pixels.out"
# pixels REQUEST...: the reader's answer (pixels.py says what it answers); fails on "error:".
pixels() {
    local reply
    printf '%s\n' "$*" >&"$PIXELS_IN"
    if ! IFS= read -r -t 60 reply <&"$PIXELS_OUT"; then
        echo "pixels $*: the pixel reader has ended or gave no answer within 60 s" >&2
        return 1
    fi
    case $reply in
    error:*)
        echo "pixels $*: ${reply#error: }" >&2
        return 1
        ;;
    esac
    echo "$reply"
}
# snap: a screenshot of the whole screen, which the pixel helpers read.
snap() { pixels snap "$DISPLAY" >/dev/null; }
# pixel_at X Y: "R G B" of the last screenshot at window coordinates.
pixel_at() { pixels at $((WIN_X + $1)) $((WIN_Y + $2)); }
# pixel_near X Y R G B TOL: whether the pixel is within TOL of the colour in every channel.
pixel_near() {
    local p
    read -r -a p <<<"$(pixel_at "$1" "$2")"
    local dr=$((p[0] - $3)) dg=$((p[1] - $4)) db=$((p[2] - $5))
    [ ${dr#-} -le "$6" ] && [ ${dg#-} -le "$6" ] && [ ${db#-} -le "$6" ]
}
pixel_near_now() { snap && pixel_near "$@"; }
# region_count X Y W H R G B TOL: how many pixels of the rectangle are near the colour.
region_count() { pixels count $((WIN_X + $1)) $((WIN_Y + $2)) "${@:3}"; }
# region_warm X Y W H: how many pixels of the rectangle have fire colours.
region_warm() { pixels warm $((WIN_X + $1)) $((WIN_Y + $2)) "$3" "$4"; }
# region_sig X Y W H: a digest of the rectangle, to see whether it changed.
region_sig() { pixels sig $((WIN_X + $1)) $((WIN_Y + $2)) "$3" "$4"; }

# screenshot FILE: the game window of the last snap as a PNG.
screenshot() {
    pixels save >/dev/null
    convert -size "${SCREEN_W}x${SCREEN_H}" -depth 8 "rgb:$SNAP" \
        -crop "$MAIN_SIZE+$WIN_X+$WIN_Y" +repage "$1"
}

# result_rows [FILE]: counts the rows of tBase in the copy's results file, or in FILE (0 when
# there is no file yet).
result_rows() {
    local file=${1:-$GAME_DIR/Base.mdb}
    [ -f "$file" ] || {
        echo 0
        return
    }
    sqlite3 "$file" 'select count(*) from tBase' 2>/dev/null || echo 0
}

# --- What a player sees and does -------------------------------------------------------------

ORANGE="243 119 7"
SEA="69 87 129"
# The turn arrows: RightL (the player's turn) and LeftL (the computer's), orange at the centre.
is_players_turn() { pixel_near 703 471 $ORANGE 24; }
is_computers_turn() { pixel_near 135 471 $ORANGE 24; }

# cell_origin FIELD ROW COL: the top-left corner of a cell.
cell_origin() {
    local xy
    xy=$(cell_centre "$@")
    echo "$((${xy% *} - 16)) $((${xy#* } - 16))"
}
# cell_untried FIELD ROW COL: the inside of the cell is bare water (no mark, ship or fire).
cell_untried() {
    local xy
    xy=$(cell_origin "$@")
    [ "$(region_count $((${xy% *} + 4)) $((${xy#* } + 4)) 25 25 $SEA 2)" -eq 625 ]
}
# A hit-marker box covers the whole cell, its frame included.
cell_sig() {
    local xy
    xy=$(cell_origin "$@")
    region_sig ${xy% *} ${xy#* } 33 33
}
# The difficulty buttons are orange push-buttons (lightened by the style's gradient); the text
# button in their place has only orange letters.
level_buttons_shown() { snap && [ "$(region_warm 296 424 209 25)" -gt 2000 ]; }
players_turn_now() { snap && is_players_turn; }
captions_changed() { snap && [ "$(region_sig 288 392 215 53)" != "$1" ]; }

# lay_out_and_choose_level LEVEL: lays the player's fleet out at random, accepts it and presses
# the difficulty button LEVEL (0 "Легкий", 1 "Средний", 2 "Сложный"); waits for the player's turn.
lay_out_and_choose_level() {
    snap
    local captions
    captions=$(region_sig 288 392 215 53)
    click_at 395 402 # "Расставить автоматически"
    # The captions become "Поменять расстановку" and "Принять расстановку".
    wait_until 10 "the captions of the automatic layout" captions_changed "$captions"
    click_at 395 434 # "Принять расстановку"
    wait_until 10 "the difficulty buttons" level_buttons_shown
    click_at 400 $((436 + 56 * $1))
    wait_until 10 "the player's turn arrow after the level was chosen" players_turn_now
}

# shoot ROW COL [COMMAND...]: fires at a cell of the computer's field in the player's turn (by
# a click, or by COMMAND, such as keys) and waits until the game has taken the shot. Sets SHOT
# to hit, miss or box (a refusal: a message box and no change at the cell). A miss shows the
# computer's arrow, unless a fast battle's computer has answered it before the first look; a
# hit changes the cell and keeps the player's arrow. After the shot SHOT_BOX holds the message
# box that followed it (the end of the game). SHOT_TIME is the moment before the press was
# prepared, SHOT_SENT the moment xdotool had sent it (on a busy machine starting xdotool alone
# takes a good part of a second).
shoot() {
    local before deadline=$((SECONDS + 15 * E2E_PATIENCE))
    snap
    before=$(cell_sig right "$1" "$2")
    SHOT_TIME=$(date +%s.%N)
    if [ $# -gt 2 ]; then
        "${@:3}"
    else
        click_cell right "$1" "$2"
    fi
    SHOT_SENT=$(date +%s.%N)
    SHOT=
    SHOT_BOX=
    while [ "$SECONDS" -lt "$deadline" ]; do
        if SHOT_BOX=$(message_box); then
            SHOT=box
            snap
            [ "$(cell_sig right "$1" "$2")" = "$before" ] || judge_shot "$1" "$2"
            return 0
        fi
        snap
        if is_computers_turn; then
            SHOT=miss
            return 0
        fi
        if [ "$(cell_sig right "$1" "$2")" != "$before" ] && { battle_is_fast || is_players_turn; }; then
            judge_shot "$1" "$2"
            return 0
        fi
        sleep 0.05
    done
    fail "the shot at row $1, column $2 of the computer's field showed nothing within $((15 * E2E_PATIENCE)) s"
}

# judge_shot ROW COL: the cell has changed; waits for its explosion to end and tells a hit from
# a miss. At the game's own pace the player's arrow did (a miss passes the turn at once, and a
# hit's cell may show only the explosion's dust when its picture is missing); in a fast battle
# the settled cell does: a hit ends in the fire picture, a miss shows the miss mark at once,
# with no fire colour at all.
judge_shot() {
    SHOT=hit
    settle_cell "$1" "$2"
    if battle_is_fast; then
        local xy warm
        xy=$(cell_origin right "$1" "$2")
        for _ in $(seq 50); do
            warm=$(region_warm ${xy% *} ${xy#* } 33 33)
            [ "$warm" -eq 0 ] && SHOT=miss
            [ "$warm" -eq 0 ] || [ "$warm" -ge 100 ] && break
            settle_cell "$1" "$2" # still exploding: the machine is slow
        done
    fi
    # The box of the game's end, if this shot ended it; a later one is found by the caller.
    [ -n "$SHOT_BOX" ] || SHOT_BOX=$(message_box) || SHOT_BOX=
}

# Answers a message box that came up during the battle; a result row marks the game's
# end (game_over=yes).
handle_box() {
    answer_box "$1" Return
    for _ in $(seq 30); do
        if [ "$(result_rows)" -ge 1 ]; then
            game_over=yes
            return
        fi
        sleep 0.1
    done
}

# settle_cell ROW COL: waits for the look of a cell of the computer's field to stay the same for
# 0.3 s, in a fast battle 0.15 s (the explosion over a hit has ended); HIT_DRAWN is when it
# last changed.
settle_cell() {
    local last now steady=0 step=0.1
    battle_is_fast && step=0.05
    last=$(cell_sig right "$1" "$2")
    HIT_DRAWN=$(date +%s.%N)
    for _ in $(seq 200); do
        sleep $step
        snap
        now=$(cell_sig right "$1" "$2")
        if [ "$now" = "$last" ]; then
            steady=$((steady + 1))
            [ "$steady" -lt 3 ] || break
        else
            steady=0
            HIT_DRAWN=$(date +%s.%N)
        fi
        last=$now
    done
}
