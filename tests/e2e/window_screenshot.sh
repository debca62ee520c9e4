#!/usr/bin/env bash
# The real game in a real X server: after the authorship notice the window opens centred and
# shows its layout in the colours a player sees. The screen is kept as window.png.
# usage: window_screenshot.sh SEABATTLE_EXECUTABLE [OUTPUT_DIR]
source "$(dirname "$0")/lib.sh"
e2e_open "$@"

start_game
snap
screenshot "$E2E_OUT/window.png"
note "screenshot: $E2E_OUT/window.png"

[ "$WIN_X,$WIN_Y" = "$(((SCREEN_W - 800) / 2)),$(((SCREEN_H - 600) / 2))" ] \
    || fail "the window is at ($WIN_X,$WIN_Y), not centred on the ${SCREEN_W}x$SCREEN_H screen"

# expect_pixel WHAT X Y R G B TOL
expect_pixel() {
    pixel_near "${@:2}" || fail "$1 at ($2,$3) is RGB($(pixel_at "$2" "$3" | tr ' ' ,)), expected about RGB($4,$5,$6)"
}
# expect_some WHAT X Y W H R G B TOL MIN: at least MIN pixels of the rectangle near the colour.
expect_some() {
    local n
    n=$(region_count "${@:2:8}")
    [ "$n" -ge "${10}" ] || fail "$1: $n pixels of the rectangle ($2,$3) ${4}x$5 are near RGB($6,$7,$8), expected at least ${10}"
}
# expect_none WHAT X Y W H R G B TOL
expect_none() {
    local n
    n=$(region_count "${@:2:8}")
    [ "$n" -eq 0 ] || fail "$1: $n pixels of the rectangle ($2,$3) ${4}x$5 are near RGB($6,$7,$8), expected none"
}

expect_pixel "the bare window background" 420 470 $SEA 3
expect_pixel "the bare window background" 790 10 $SEA 3
expect_pixel "the light bevel of the left field's frame" 36 200 192 192 255 10
expect_pixel "the light bevel of the right field's frame" 444 200 192 192 255 10
expect_pixel "the top bevel of the left field's frame" 200 38 192 192 255 10
expect_pixel "a vertical grid line of the left field" 80 100 24 32 56 10
expect_pixel "water beside that grid line" 82 100 $SEA 3
expect_pixel "a horizontal grid line of the left field" 100 80 24 32 56 10
expect_pixel "a vertical grid line of the right field" 488 100 24 32 56 10
expect_pixel "the top-left corner of cell 100" 456 48 24 32 56 10
expect_pixel "the water inside cell 99" 352 352 $SEA 3
expect_some "the orange caption \"Расставить автоматически\"" 288 392 215 21 $ORANGE 12 60
expect_some "the orange caption \"Расставить корабли самому\"" 288 424 212 21 $ORANGE 12 60
expect_some "the orange caption \"Музыка\"" 176 576 81 19 $ORANGE 12 30
expect_some "the orange caption \"Статистика\"" 592 576 96 19 $ORANGE 12 30
expect_some "the orange-red column letter \"А\" of the left field" 56 0 24 31 255 128 0 12 20
expect_some "the orange-red row number \"10\" of the right field" 408 320 28 31 255 128 0 12 20
expect_none "the hidden turn arrow of the player" 648 416 111 111 $ORANGE 30
expect_none "the hidden turn arrow of the computer" 80 416 111 111 $ORANGE 30
expect_none "the hidden \"Новая Игра\"" 704 576 81 19 $ORANGE 30
expect_none "the hidden score panel's orange captions" 248 450 329 120 $ORANGE 30

# The layout stays put through a click on a switch: unticking "Объемный вид" hides the frames.
click_at 290 585
bevel_gone() { snap && pixel_near 36 200 $SEA 3; }
wait_until 5 "the field frames to vanish after unticking \"Объемный вид\"" bevel_gone
expect_pixel "a vertical grid line without the frames" 80 100 24 32 56 10
quit_game
note "passed"
