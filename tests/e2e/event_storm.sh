#!/usr/bin/env bash
# A storm of random clicks, moves and keys on the real game, in every phase it reaches:
# placement, levels, the battle with the computer's turns, the end of a game, new games, the
# statistics window and message boxes. The game must neither crash nor hang. A "Да" that the
# storm happens to give to the question to quit ends the game normally; it is started again.
# usage: event_storm.sh SEABATTLE_EXECUTABLE [OUTPUT_DIR] [EVENTS]
E2E_NAME=event_storm
source "$(dirname "$0")/lib.sh"
GAME_EXE=$1
E2E_OUT=${2:-$E2E_OUT}
EVENTS=${3:-3000}

start_xvfb
start_pulse || note "the game plays without a sound server: $E2E_PULSE_PROBLEM"
start_game
RANDOM=20261207

# Where a player would click: the computer's field most, then the own field, the placement and
# level controls, the picker, the switches and text buttons along the bottom, anywhere else.
target() {
    local r=$((RANDOM % 100))
    if [ "$r" -lt 35 ]; then
        echo $((456 + RANDOM % 320)) $((48 + RANDOM % 320))
    elif [ "$r" -lt 50 ]; then
        echo $((48 + RANDOM % 320)) $((48 + RANDOM % 320))
    elif [ "$r" -lt 65 ]; then
        echo $((300 + RANDOM % 200)) $((395 + RANDOM % 170))
    elif [ "$r" -lt 72 ]; then
        echo $((386 + RANDOM % 28)) $((410 + RANDOM % 158))
    elif [ "$r" -lt 82 ]; then
        echo $((20 + RANDOM % 770)) $((578 + RANDOM % 16))
    else
        echo $((RANDOM % 800)) $((RANDOM % 600))
    fi
}

restarts=0
boxes=0
check_alive() {
    game_running && return 0
    local code=0
    wait "$GAME_PID" || code=$?
    [ "$code" -eq 0 ] || fail "the game died with status $code during the storm"
    restarts=$((restarts + 1))
    note "the storm said yes to quitting; the game ended cleanly and starts again"
    start_game
}

for ((event = 1; event <= EVENTS; event++)); do
    if ((event % 10 == 0)); then
        check_alive
        # A message box or the statistics window blocks the window: close it as a player
        # might, mostly with Escape, now and then with a click on it.
        if box=$(message_box); then
            boxes=$((boxes + 1))
            xdotool windowfocus "$box" 2>/dev/null || true
            xdotool key Escape 2>/dev/null || true
        fi
    fi
    read -r x y <<<"$(target)"
    case $((RANDOM % 10)) in
    0 | 1 | 2) xdotool mousemove $((WIN_X + x)) $((WIN_Y + y)) 2>/dev/null || true ;;
    3) xdotool mousemove $((WIN_X + x)) $((WIN_Y + y)) click 3 2>/dev/null || true ;;
    4) xdotool key --clearmodifiers "$(shuf -n1 -e Control_L Escape space a Tab Up)" 2>/dev/null || true ;;
    5) xdotool keydown Control_L 2>/dev/null || true ;;
    6) xdotool keyup Control_L 2>/dev/null || true ;;
    *) xdotool mousemove $((WIN_X + x)) $((WIN_Y + y)) click 1 2>/dev/null || true ;;
    esac
done
xdotool keyup Control_L 2>/dev/null || true
check_alive
while box=$(message_box); do
    xdotool windowfocus "$box" 2>/dev/null || true
    xdotool key Escape
    sleep 0.3
done

# Not hung: the score switch still shows and hides the panel at once.
snap
before=$(region_sig 248 392 329 185)
click_at 430 585
changed() { snap && [ "$(region_sig 248 392 329 185)" != "$before" ]; }
wait_until 5 "the score panel to answer its switch after the storm" changed
note "$EVENTS events, $boxes boxes closed, $restarts clean restarts"
quit_game
