#!/usr/bin/env bash
# The game with every media file deleted from its folder: it starts, shows its window and
# plays on (random layout, a level, shots until a hit and the computer's reply), and every
# missing file that the game tried to use is reported once on stderr, naming the file. With no
# font at all the player is told so once, before the window.
# usage: missing_media.sh SEABATTLE_EXECUTABLE [OUTPUT_DIR]
source "$(dirname "$0")/lib.sh"
e2e_open "$@"

copy_game
media=(Boom.wav seasound.mid Sn.cur XField.bmp picBoom.bmp
    Ship11.bmp Ship12.bmp Ship21.bmp Ship22.bmp Ship31.bmp Ship32.bmp Ship41.bmp Ship42.bmp)
for f in "${media[@]}"; do
    [ -f "$GAME_DIR/$f" ] || fail "the game's folder has no $f to delete"
    rm "$GAME_DIR/$f"
done
start_game_copy
lay_out_and_choose_level 0

# Shots in row-major order until the player has hit once and the computer has moved once.
hit=no
computer_moved=no
shots=0
for row in 1 2 3 4 5 6 7 8 9 10; do
    for col in 1 2 3 4 5 6 7 8 9 10; do
        game_running || fail "the game ended during the battle without its media"
        wait_until 60 "the player's turn" players_turn_now
        shoot "$row" "$col"
        shots=$((shots + 1))
        case $SHOT in
        hit) hit=yes ;;
        miss)
            wait_until 90 "the computer's move to end" players_turn_now
            computer_moved=yes
            ;;
        # Without the miss mark the ring around a sunk ship looks untried: a shot there is
        # refused with a message box.
        box) answer_box "$SHOT_BOX" Return ;;
        esac
        [ "$hit" = yes ] && [ "$computer_moved" = yes ] && break 2
    done
done
[ "$hit" = yes ] && [ "$computer_moved" = yes ] || fail "after $shots shots: hit $hit, computer moved $computer_moved"
sleep 1.5 # the hit sound's cut-off
game_running && main_window >/dev/null || fail "the game's window is gone"
snap
screenshot "$E2E_OUT/missing_media.png"
note "$shots shots; the game's stderr:"
cat "$E2E_TMP/game.err"

# warnings FILE: how many lines of the game's stderr name the file.
warnings() { grep -c -F "$1" "$E2E_TMP/game.err" || true; }
# Used for certain: the tune at start-up, the miss mark, the aim cursor over the computer's
# field, the hit picture and the hit sound; the ship bitmaps depend on the layout's orientations.
for f in seasound.mid XField.bmp Sn.cur picBoom.bmp Boom.wav; do
    n=$(warnings "$f")
    [ "$n" -eq 1 ] || fail "$f is named in $n warnings, expected exactly one"
done
ships=0
for f in Ship11.bmp Ship12.bmp Ship21.bmp Ship22.bmp Ship31.bmp Ship32.bmp Ship41.bmp Ship42.bmp; do
    n=$(warnings "$f")
    [ "$n" -le 1 ] || fail "$f is named in $n warnings, expected at most one"
    ships=$((ships + n))
done
[ "$ships" -ge 4 ] || fail "only $ships of the missing ship bitmaps were reported; a fleet of four sizes uses at least four"
quit_game

# No font at all (a font configuration without folders): said once on stderr, and in a box
# whose title the window manager draws, before the game goes on to its window.
FONTS_CONF="$E2E_TMP/no-fonts.conf"
printf '<?xml version="1.0"?>\n<fontconfig><cachedir>%s</cachedir></fontconfig>\n' \
    "$E2E_TMP/font-cache" >"$FONTS_CONF"
answer_notice_then_fonts() {
    answer_box "$1" "$2"
    local box
    box=$(wait_for_box 10 "the box telling that no font draws the game's words")
    [ "$(xdotool getwindowname "$box")" = "Морской бой: нет шрифтов" ] \
        || fail "the box about the fonts is titled \"$(xdotool getwindowname "$box")\""
    import -silent -window root "$E2E_OUT/missing_fonts.png"
    answer_box "$box" Return
}
copy_game
ANSWER_NOTICE=answer_notice_then_fonts start_game_copy FONTCONFIG_FILE="$FONTS_CONF"
n=$(warnings "no installed font draws Cyrillic letters")
[ "$n" -eq 1 ] || fail "the missing fonts are told in $n lines of stderr, expected exactly one"
quit_game
note "passed"
