#!/usr/bin/env bash
# A whole game through the real window: a random layout, level "Легкий", the player firing at
# every untried cell of the computer's field in row-major order while the computer answers. What
# the player sees must agree with the one row stored in Base.mdb; then "Новая Игра" starts over
# and Esc with Yes ends the program without another row. The battle runs at the fast test pace:
# what is checked here is what happens, not when (sound_heard checks the game's own pace).
# With "en" after the output folder the same game is played by a player whose desktop speaks
# English: the titles of the window and its boxes are English, the boxes and the statistics
# window are kept as screenshots to look at, and the stored row is the same, in Russian.
# usage: whole_game.sh SEABATTLE_EXECUTABLE [OUTPUT_DIR [en]]
source "$(dirname "$0")/lib.sh"
e2e_open "$@"
GAME_DEADLINE=$((SECONDS + 330))
english=no
language=()
shots=whole_game
if [ "${3:-}" = en ]; then
    english=yes
    language=(LANG=en_US.UTF-8)
    GAME_TITLE="Sea Battle"
    shots=whole_game_en
fi

# titled BOX NAME RUSSIAN ENGLISH: the box has the title of the game's language; in English it
# is kept as NAME.png for a look.
titled() {
    local want=$3 title
    [ "$english" = no ] || want=$4
    title=$(xdotool getwindowname "$1" 2>/dev/null || true)
    [ "$title" = "$want" ] || fail "the $2 box is titled \"$title\" instead of \"$want\""
    [ "$english" = no ] || import -window "$1" "$E2E_OUT/${shots}_$2.png"
}
notice_seen() {
    titled "$1" notice "Морской бой" "Sea Battle"
    answer_box "$@"
}

fast_battle
ANSWER_NOTICE=notice_seen start_game "${language[@]}"
[ "$english" = no ] || { snap && screenshot "$E2E_OUT/${shots}_start.png"; }
lay_out_and_choose_level 0
# In English the score panel is shown too, for the end's screenshot.
[ "$english" = no ] || click_at 420 585
note "battle opened at level \"Легкий\""

# A cell fired at before is refused with a message box; the player keeps the turn and the
# refused shot changes nothing.
refusal_checked=no
check_refusal() {
    local row=$1 col=$2 before
    snap
    before=$(region_sig 456 48 321 321)
    click_cell right "$row" "$col"
    local box
    box=$(wait_for_box 10 "the refusal of a shot at a cell fired at before (row $row, column $col)")
    titled "$box" refusal " " " "
    answer_box "$box" Return
    snap
    is_players_turn || fail "after the refusal of a repeated shot the turn arrow of the player is gone"
    [ "$(region_sig 456 48 321 321)" = "$before" ] \
        || fail "a refused repeated shot at row $row, column $col changed the computer's field"
    refusal_checked=yes
    note "a repeated shot at row $row, column $col was refused with a message box"
}

player_hits=0
player_shots=0
last_row=0
last_col=0
game_over=no
row=1
col=1

while [ "$game_over" = no ]; do
    [ "$SECONDS" -lt "$GAME_DEADLINE" ] \
        || fail "the game did not end within the time allowed (player: $player_shots shots, $player_hits hits)"
    game_running || fail "the game ended by itself in the middle of the battle"
    if box=$(message_box); then
        titled "$box" end " " " "
        handle_box "$box"
        continue
    fi
    snap
    if ! is_players_turn; then
        sleep 0.05 # the computer's turn
        continue
    fi
    if [ "$refusal_checked" = no ] && [ "$last_row" -gt 0 ]; then
        check_refusal "$last_row" "$last_col"
        continue
    fi
    # The next untried cell in row-major order; cells ringed around a sunk ship look tried.
    while [ "$row" -le 10 ] && ! cell_untried right "$row" "$col"; do
        col=$((col + 1))
        if [ "$col" -gt 10 ]; then
            col=1
            row=$((row + 1))
        fi
    done
    [ "$row" -le 10 ] || fail "every cell of the computer's field was fired at and the game has not ended"
    shoot "$row" "$col"
    player_shots=$((player_shots + 1))
    last_row=$row
    last_col=$col
    note "shot $player_shots at row $row, column $col: $SHOT"
    [ "$SHOT" = hit ] && player_hits=$((player_hits + 1))
    if [ -n "$SHOT_BOX" ]; then
        titled "$SHOT_BOX" end " " " "
        handle_box "$SHOT_BOX"
    fi
done
note "game over after $player_shots shots of the player, $player_hits of them hits (seen on the screen)"
[ "$player_shots" -le 100 ] || fail "the player needed $player_shots shots (at most 100 cells can be fired at)"

snap
screenshot "$E2E_OUT/${shots}_end.png"
rows=$(sqlite3 -separator '|' "$GAME_DIR/Base.mdb" \
    'select "Победитель", "Попаданий юзера", "Попаданий компьютера", "Уровень сложности" from tBase')
note "tBase: $rows"
[ "$(printf '%s\n' "$rows" | wc -l)" -eq 1 ] || fail "tBase should hold exactly one row after one game, it holds: $rows"
IFS='|' read -r winner user_hits comp_hits level <<<"$rows"
[ "$level" = "Легкий" ] || fail "the level stored is \"$level\", the game was played at \"Легкий\""
[ "$user_hits" = "$player_hits" ] \
    || fail "the player's hits stored ($user_hits) differ from the hits seen on the screen ($player_hits)"
case $winner in
Игрок)
    [ "$user_hits" = 20 ] || fail "the player won with $user_hits hits stored instead of 20"
    [[ $comp_hits =~ ^([0-9]|1[0-9])$ ]] || fail "the loser's hit count \"$comp_hits\" is not 0 to 19"
    is_players_turn || fail "after the player's win the player's turn arrow should still be shown"
    ;;
Компьютер)
    [ "$comp_hits" = 20 ] || fail "the computer won with $comp_hits hits stored instead of 20"
    [[ $user_hits =~ ^([0-9]|1[0-9])$ ]] || fail "the loser's hit count \"$user_hits\" is not 0 to 19"
    is_computers_turn || fail "after the computer's win the computer's turn arrow should still be shown"
    ;;
*) fail "the winner stored is \"$winner\", expected \"Игрок\" or \"Компьютер\"" ;;
esac

# After the end a press on an untried cell of the computer's field does nothing: no box, no
# change, in the time the computer would have moved several times at this pace.
for r in 10 9 8 7 6 5 4 3 2 1; do
    for c in 10 9 8 7 6 5 4 3 2 1; do
        if cell_untried right "$r" "$c"; then
            before=$(region_sig 0 0 800 600)
            click_cell right "$r" "$c"
            sleep 0.5
            ! message_box >/dev/null || fail "a press on the computer's field after the end brought a message box"
            snap
            [ "$(region_sig 0 0 800 600)" = "$before" ] \
                || fail "a press on the computer's field after the end changed the window"
            break 2
        fi
    done
done

# "Статистика" lists the game's row, in the game's language; Esc closes the window.
click_at 640 585
box=$(wait_for_box 10 "the statistics window")
titled "$box" statistics "Статистика" "Statistics"
answer_box "$box" Escape

# "Новая Игра": the question's default button is Yes, so Return starts over.
click_at 744 585
box=$(wait_for_box 10 "the question of \"Новая Игра\"")
titled "$box" new_game "Новая Игра" "New Game"
answer_box "$box" Return
new_game_shown() {
    snap && ! is_players_turn && ! is_computers_turn \
        && [ "$(region_count 704 576 81 19 $ORANGE 40)" -eq 0 ] \
        && [ "$(region_count 288 392 215 21 $ORANGE 40)" -gt 100 ]
}
wait_until 10 "the placement state after the new game (arrows and \"Новая Игра\" hidden, \"Расставить автоматически\" shown)" new_game_shown
for field in left right; do
    for r in 1 2 3 4 5 6 7 8 9 10; do
        for c in 1 2 3 4 5 6 7 8 9 10; do
            cell_untried "$field" "$r" "$c" \
                || fail "after the new game the $field field's cell at row $r, column $c is not empty"
        done
    done
done
screenshot "$E2E_OUT/${shots}_new.png"
[ "$(result_rows)" -eq 1 ] || fail "the new game changed the results: $(result_rows) rows"

# Esc asks whether to quit: No (Escape) keeps the game, Yes (Return, the default) ends it.
xdotool windowfocus "$WIN" 2>/dev/null || true
xdotool key Escape
box=$(wait_for_box 10 "the question to quit after Esc")
titled "$box" quit "Выход" "Quit"
answer_box "$box" Escape
sleep 0.5
game_running && main_window >/dev/null || fail "answering No to the question to quit ended the game"
quit_game
[ "$(result_rows)" -eq 1 ] || fail "quitting changed the results: $(result_rows) rows"
note "passed: winner $winner, player $user_hits hits, computer $comp_hits hits"
