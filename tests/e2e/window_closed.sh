#!/usr/bin/env bash
# Ways the game's window can be ended from outside, none of which may leave a process
# without a window or end it by a crash: another X client destroys the window (there is no
# window manager to ask), SIGTERM, and the X server going away.
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

start_game
stop_process "$PRIVATE_XVFB_PID"
WIN=
ends_within 10 "its X server went away"
note "passed"
