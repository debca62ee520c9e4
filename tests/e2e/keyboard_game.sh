#!/usr/bin/env bash
# A whole game by keys alone, the pointer never moved: Tab to "Расставить корабли самому",
# ten ships placed with the arrows and Enter, Enter on "Легкий", then the computer's field
# swept with the arrows and Enter until the end; the result must be the one row stored. The
# battle runs at the fast test pace.
# usage: keyboard_game.sh SEABATTLE_EXECUTABLE [OUTPUT_DIR]
source "$(dirname "$0")/lib.sh"
e2e_open "$@"
GAME_DEADLINE=$((SECONDS + 330))

fast_battle
start_game
# The pointer rests off the window, so nothing but keys reaches the game.
xdotool mousemove 0 0
keys() {
    xdotool windowfocus "$WIN" 2>/dev/null || true
    xdotool key --delay 30 "$@"
}

keys Tab Tab Return # "Расставить корабли самому"; the focus goes to the player's field
# Vertical ships from row 1 in every other column (4, 3, 3, 2, 2), then from row 7 back
# to the left (2, 1, 1, 1, 1).
keys Return Right Right Return Right Right Return Right Right Return Right Right Return
keys Down Down Down Down Down Down Return Left Left Return Left Left Return Left Left Return \
    Left Left Return
wait_until 10 "the difficulty buttons after the tenth ship placed by keys" level_buttons_shown
for cell in "1 1" "4 1" "3 3" "3 5" "2 7" "2 9" "8 9" "7 7" "7 5" "7 3" "7 1"; do
    ! cell_untried left $cell || fail "no ship at row ${cell% *}, column ${cell#* } of the player's field after placing by keys"
done
for cell in "5 1" "4 3" "9 9" "8 7" "1 2"; do
    cell_untried left $cell || fail "a ship at row ${cell% *}, column ${cell#* } of the player's field, where none was placed"
done
note "ten ships placed by keys"
keys Return # "Легкий", the first of the levels; the focus goes to the computer's field
wait_until 10 "the player's turn arrow after the level was chosen by Enter" players_turn_now

player_hits=0
player_shots=0
game_over=no
at_row=1
at_col=1
# aim ROW COL: the arrows from the cursor's cell to that one.
aim() {
    local moves=()
    while [ "$at_row" -lt "$1" ]; do moves+=(Down) at_row=$((at_row + 1)); done
    while [ "$at_col" -lt "$2" ]; do moves+=(Right) at_col=$((at_col + 1)); done
    while [ "$at_col" -gt "$2" ]; do moves+=(Left) at_col=$((at_col - 1)); done
    [ ${#moves[@]} -eq 0 ] || keys "${moves[@]}"
    # The focus mark has moved there before the cell is looked at for the shot.
    wait_until 5 "the focus mark on row $1, column $2 of the computer's field" mark_on "$1" "$2"
}
mark_on() {
    local xy
    xy=$(cell_origin right "$1" "$2")
    snap && pixel_near $((${xy% *} - 1)) $((${xy#* } + 16)) 255 236 160 30
}

# Row by row, snaking, every cell still untried; the cursor stays where the last shot went.
for row in 1 2 3 4 5 6 7 8 9 10; do
    cols="1 2 3 4 5 6 7 8 9 10"
    [ $((row % 2)) -eq 1 ] || cols="10 9 8 7 6 5 4 3 2 1"
    for col in $cols; do
        while [ "$game_over" = no ]; do
            [ "$SECONDS" -lt "$GAME_DEADLINE" ] || fail "the game did not end in time ($player_shots shots by keys)"
            game_running || fail "the game ended by itself in the middle of the battle"
            if box=$(message_box); then
                handle_box "$box"
            elif players_turn_now; then
                break
            else
                sleep 0.05
            fi
        done
        [ "$game_over" = no ] || break 2
        snap
        cell_untried right "$row" "$col" || continue
        aim "$row" "$col"
        shoot "$row" "$col" keys Return
        player_shots=$((player_shots + 1))
        note "shot $player_shots by keys at row $row, column $col: $SHOT"
        [ "$SHOT" != box ] || fail "Enter at an untried cell (row $row, column $col) was refused"
        [ "$SHOT" != hit ] || player_hits=$((player_hits + 1))
        [ -z "$SHOT_BOX" ] || handle_box "$SHOT_BOX"
    done
done
[ "$game_over" = yes ] || fail "every cell of the computer's field was fired at by keys and the game has not ended"
screenshot "$E2E_OUT/keyboard_game_end.png"

rows=$(sqlite3 -separator '|' "$GAME_DIR/Base.mdb" \
    'select "Победитель", "Попаданий юзера", "Уровень сложности" from tBase')
note "tBase: $rows"
[ "$(printf '%s\n' "$rows" | wc -l)" -eq 1 ] || fail "tBase should hold one row after one game, it holds: $rows"
IFS='|' read -r winner user_hits level <<<"$rows"
[ "$level" = "Легкий" ] || fail "the level stored is \"$level\", Enter chose \"Легкий\""
[ "$user_hits" = "$player_hits" ] || fail "the player's hits stored ($user_hits) differ from those seen ($player_hits)"
case $winner in
Игрок) [ "$user_hits" = 20 ] || fail "the player won with $user_hits hits" ;;
Компьютер) [ "$user_hits" -lt 20 ] || fail "the computer won against $user_hits hits" ;;
*) fail "the winner stored is \"$winner\"" ;;
esac
quit_game
note "passed: winner $winner after $player_shots shots by keys"
