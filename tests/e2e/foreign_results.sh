#!/usr/bin/env bash
# The game's folder holds a Base.mdb of another program. The player is told at start-up,
# over the window, that the results go to the data folder; a game played to its end leaves
# its row there, "Статистика" lists it, and the other program's file keeps every byte. The
# battle runs at the fast test pace.
# usage: foreign_results.sh SEABATTLE_EXECUTABLE [OUTPUT_DIR]
source "$(dirname "$0")/lib.sh"
e2e_open "$@"
GAME_DEADLINE=$((SECONDS + 330))

copy_game
# Another program's database that happens to bear the name: an office database's header
# and pages of its own.
{
    printf '\0\1\0\0Standard Jet DB\0'
    head -c 8192 /dev/urandom
} >"$GAME_DIR/Base.mdb"
foreign_sum=$(md5sum <"$GAME_DIR/Base.mdb")
export XDG_DATA_HOME="$E2E_TMP/data"
fast_battle
DATA_DB="$XDG_DATA_HOME/seabattle/Base.mdb"
start_game_copy

box=$(wait_for_box 10 "the notice that the results go to the data folder")
snap
import -silent -window root "$E2E_OUT/foreign_results_notice.png"
note "notice at start-up: window $box, $(window_size "$box"); screen in $E2E_OUT/foreign_results_notice.png"
answer_box "$box" Return
grep -q "is not used: results are kept in $DATA_DB" "$E2E_TMP/game.err" \
    || fail "the log does not say where the results are kept"

lay_out_and_choose_level 0
# The player fires at every untried cell of the computer's field in row-major order until a
# result row appears; every box on the way (the end message) is answered.
row=1
col=1
while [ "$(result_rows "$DATA_DB")" -eq 0 ]; do
    [ "$SECONDS" -lt "$GAME_DEADLINE" ] || fail "the game did not end within the time allowed"
    game_running || fail "the game ended by itself in the middle of the battle"
    if box=$(message_box); then
        answer_box "$box" Return
        continue
    fi
    snap
    if ! is_players_turn; then
        sleep 0.05
        continue
    fi
    while [ "$row" -le 10 ] && ! cell_untried right "$row" "$col"; do
        col=$((col + 1))
        [ "$col" -le 10 ] || { col=1; row=$((row + 1)); }
    done
    [ "$row" -le 10 ] || fail "every cell of the computer's field was fired at and no row was stored"
    shoot "$row" "$col"
    [ -z "$SHOT_BOX" ] || answer_box "$SHOT_BOX" Return
done
while box=$(message_box); do answer_box "$box" Return; done
rows=$(sqlite3 -separator '|' "$DATA_DB" 'select * from tBase')
note "tBase in the data folder: $rows"
[[ $rows =~ ^(Игрок\|20\|[0-9]+|Компьютер\|[0-9]+\|20)\|Легкий$ ]] \
    || fail "the data folder's tBase should hold the one finished game, it holds: $rows"

# "Статистика" lists the data folder's store.
click_at 640 585
box=$(wait_for_box 10 "the statistics window")
sleep 0.5
import -silent -window root "$E2E_OUT/foreign_results_statistics.png"
note "statistics window: $(window_size "$box"); screen in $E2E_OUT/foreign_results_statistics.png"
answer_box "$box" Escape

quit_game
[ "$(md5sum <"$GAME_DIR/Base.mdb")" = "$foreign_sum" ] || fail "the other program's Base.mdb was changed"
leftovers=$(find "$GAME_DIR" -maxdepth 1 -name 'Base.mdb?*')
[ -z "$leftovers" ] || fail "files appeared next to the other program's Base.mdb: $leftovers"
note "passed: $rows"
