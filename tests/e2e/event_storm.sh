#!/usr/bin/env bash
# A storm of random clicks, moves and keys on the real game, in every phase it reaches:
# placement, levels, the battle with the computer's turns, the end of a game, new games, the
# statistics window and message boxes. The game must neither crash nor hang. A "Да" that the
# storm happens to give to the question to quit ends the game normally; it is started again.
# The battle runs at the fast test pace, so the storm reaches the ends of more games.
# usage: event_storm.sh SEABATTLE_EXECUTABLE [OUTPUT_DIR] [EVENTS]
source "$(dirname "$0")/lib.sh"
e2e_open "$@"
EVENTS=${E2E_ARGS[0]:-3000}

fast_battle
start_game
RANDOM=20261207

# Where a player would click, into AT_X and AT_Y: the computer's field most, then the own field,
# the placement and level controls, the picker, the switches and text buttons along the bottom,
# anywhere else.
target() {
    local r=$((RANDOM % 100))
    if [ "$r" -lt 35 ]; then
        AT_X=$((456 + RANDOM % 320)) AT_Y=$((48 + RANDOM % 320))
    elif [ "$r" -lt 50 ]; then
        AT_X=$((48 + RANDOM % 320)) AT_Y=$((48 + RANDOM % 320))
    elif [ "$r" -lt 65 ]; then
        AT_X=$((300 + RANDOM % 200)) AT_Y=$((395 + RANDOM % 170))
    elif [ "$r" -lt 72 ]; then
        AT_X=$((386 + RANDOM % 28)) AT_Y=$((410 + RANDOM % 158))
    elif [ "$r" -lt 82 ]; then
        AT_X=$((20 + RANDOM % 770)) AT_Y=$((578 + RANDOM % 16))
    else
        AT_X=$((RANDOM % 800)) AT_Y=$((RANDOM % 600))
    fi
    AT_X=$((WIN_X + AT_X)) AT_Y=$((WIN_Y + AT_Y))
}
KEYS=(Control_L Escape space a Tab Up)

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

# Ten events at a time go to the server in one xdotool command, as fast as it sends them.
storm=()
for ((event = 1; event <= EVENTS; event++)); do
    target
    case $((RANDOM % 10)) in
    0 | 1 | 2) storm+=(mousemove "$AT_X" "$AT_Y") ;;
    3) storm+=(mousemove "$AT_X" "$AT_Y" click --delay 0 3) ;;
    4) storm+=(key --clearmodifiers --delay 0 "${KEYS[RANDOM % ${#KEYS[@]}]}") ;;
    5) storm+=(keydown Control_L) ;;
    6) storm+=(keyup Control_L) ;;
    *) storm+=(mousemove "$AT_X" "$AT_Y" click --delay 0 1) ;;
    esac
    ((event % 10 == 0)) || continue
    xdotool "${storm[@]}" 2>/dev/null || true
    storm=()
    check_alive
    # A message box or the statistics window blocks the window: close it as a player
    # might, mostly with Escape, now and then with a click on it.
    if box=$(message_box); then
        boxes=$((boxes + 1))
        xdotool windowfocus "$box" 2>/dev/null || true
        xdotool key Escape 2>/dev/null || true
    fi
done
xdotool keyup Control_L 2>/dev/null || true
check_alive
close_boxes() {
    while box=$(message_box); do
        xdotool windowfocus "$box" 2>/dev/null || true
        xdotool key Escape
        sleep 0.3
    done
}

# Not hung: the score switch still shows and hides the panel at once. On a busy machine the
# storm's last events may still be queued and raise one more box, which takes the click: then
# the box is closed and the switch tried again.
changed() { snap && [ "$(region_sig 248 392 329 185)" != "$before" ]; }
switch_answers() {
    close_boxes
    snap
    before=$(region_sig 248 392 329 185)
    click_at 430 585
    local deadline=$((SECONDS + 5 * E2E_PATIENCE))
    until changed; do
        ! message_box >/dev/null || return 1
        [ "$SECONDS" -lt "$deadline" ] || fail "waited $((5 * E2E_PATIENCE))s in vain for the score panel to answer its switch after the storm"
        sleep 0.1
    done
}
answered=
for _ in 1 2 3; do
    if switch_answers; then
        answered=yes
        break
    fi
    note "a late box of the storm took the click on the score switch"
done
[ -n "$answered" ] || fail "a box kept coming up after the storm"
note "$EVENTS events, $boxes boxes closed, $restarts clean restarts"
close_boxes
quit_game
