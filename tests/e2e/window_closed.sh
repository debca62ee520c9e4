#!/usr/bin/env bash
# Ways the game's window can be ended from outside, none of which may leave a process
# without a window or end it by a crash: another X client destroys the window (there is no
# window manager to ask), SIGTERM, and the X server going away. Each of the game's boxes
# destroyed by another X client is answered as Esc would answer it, and the main window takes
# the keys at once: the notice at start, "Статистика", the question to quit, "Вы выиграли"
# (a test copy of the game whose player wins at once, built beside this test's output).
# usage: window_closed.sh SEABATTLE_EXECUTABLE [OUTPUT_DIR]
source "$(dirname "$0")/lib.sh"
e2e_open "$@"

# ends_within SECONDS WHAT: the game must end by then, by itself and not by a signal.
ends_within() {
    wait_game_end "$@"
    [ "$GAME_EXIT" -lt 128 ] || fail "the game was ended by signal $((GAME_EXIT - 128)) after $2"
    note "the game ended with exit code $GAME_EXIT after $2"
}


# boxes_open: how many message boxes of the game are on the screen.
boxes_open() {
    local w n=0
    for w in $(game_windows); do
        [ "$w" = "$WIN" ] || ! is_viewable "$w" || [ "$(window_size "$w")" = "$MAIN_SIZE" ] || n=$((n + 1))
    done
    echo "$n"
}
new_main_window() { local w; w=$(main_window) && [ "$w" != "$1" ]; }
# above A B: window A lies above window B (xwininfo lists the top window first).
above() {
    xwininfo -root -children | awk -v a="$(printf '0x%x' "$1")" -v b="$(printf '0x%x' "$2")" \
        '$1 == a {ia = NR} $1 == b {ib = NR} END {exit !(ia > 0 && ia < ib)}'
}

start_game
xdotool windowclose "$WIN"
box=$(wait_for_box 10 "the question to quit after the window was destroyed")
wait_until 10 "a new main window behind the question" main_window
# Destroyed again while the question is open: rebuilt each time, and still one question.
for k in 1 2 3; do
    lost=$(main_window)
    xdotool windowclose "$lost"
    wait_until 10 "a new main window after it was destroyed again ($k)" new_main_window "$lost"
done
WIN=$(main_window)
[ "$(boxes_open)" -eq 1 ] || fail "$(boxes_open) questions are open after the window was destroyed four times"
above "$box" "$WIN" || fail "the question lies under the rebuilt window"
snap
screenshot "$E2E_OUT/window-closed.png"
note "screenshot: $E2E_OUT/window-closed.png"
answer_box "$box" Escape
WIN=$(main_window) || fail "no main window after the question was answered No"
game_running || fail "the game ended though the question was answered No"
kill -TERM "$GAME_PID"
ends_within 10 "SIGTERM"

# destroy_box BOX: another X client destroys the box's window.
destroy_box() {
    xdotool windowclose "$1"
    wait_until 5 "the box $1 to go once its window was destroyed" box_gone "$1"
}
# box_destroyed WHAT: the box on the screen is destroyed from outside; the game runs on, and
# its main window answers Esc at once with the question to quit, answered No.
box_destroyed() {
    local box
    box=$(wait_for_box 20 "$1")
    destroy_box "$box"
    game_running || fail "the game ended when $1 was destroyed"
    WIN=$(main_window) || fail "no main window once $1 was destroyed"
    xdotool windowfocus "$WIN" 2>/dev/null || true
    xdotool key Escape
    box=$(wait_for_box 10 "the question to quit after Esc, once $1 was destroyed")
    answer_box "$box" Escape
    note "$1 destroyed from outside: the window takes the keys"
}

# The notice destroyed: the game goes on to its window.
ANSWER_NOTICE=destroy_box start_game
xdotool windowfocus "$WIN" 2>/dev/null || true
xdotool key Escape
box_destroyed "the question to quit"
click_at 640 585 # "Статистика"
box_destroyed "the statistics window"
kill -TERM "$GAME_PID"
ends_within 10 "SIGTERM"

LAST_SHOT_EXE="$E2E_OUT/seabattle_lastshot"
[ -x "$LAST_SHOT_EXE" ] || fail "no test copy that wins at once at $LAST_SHOT_EXE"
copy_game
cp "$LAST_SHOT_EXE" "$GAME_DIR/seabattle"
rm -f "$E2E_TMP/go"
start_game_copy SEABATTLE_LAST_SHOT_AFTER="$E2E_TMP/go" SEABATTLE_TEST_PACE=20
touch "$E2E_TMP/go"
box_destroyed "\"Вы выиграли\""
[ "$(result_rows)" -eq 1 ] || fail "$(result_rows) rows stored after \"Вы выиграли\" was destroyed"
kill -TERM "$GAME_PID"
ends_within 10 "SIGTERM"

start_game
stop_process "$PRIVATE_XVFB_PID"
WIN=
ends_within 10 "its X server went away"
note "passed"
