#!/usr/bin/env bash
# On a screen scaled by two the window is 1600 x 1200 pixels and its pictures are drawn from
# their full-resolution sources: ships, frames and arrows show detail within every pair of
# pixels instead of the blocks of a picture blown up from its cell size.
# usage: hidpi_window.sh SEABATTLE_EXECUTABLE [OUTPUT_DIR]
SCREEN_W=1800
SCREEN_H=1300
MAIN_SIZE=1600x1200
source "$(dirname "$0")/lib.sh"
e2e_open "$@"

start_game QT_SCALE_FACTOR=2
[ "$(window_size "$WIN")" = 1600x1200 ] || fail "the window is $(window_size "$WIN"), not 1600x1200"

# Screen pixels are twice the window's own: lay the fleet out at random and show the turn.
click_at $((2 * 395)) $((2 * 402))
click_at $((2 * 395)) $((2 * 434))
sleep 0.5
click_at $((2 * 400)) $((2 * 436))
sleep 0.5
snap
screenshot "$E2E_OUT/hidpi.png"
note "screenshot: $E2E_OUT/hidpi.png"

# blocky WHAT X Y W H MAX: at most MAX of 1000 two-by-two blocks of the region are of one colour.
blocky() {
    local n
    n=$(pixels blocky $((WIN_X + $2)) $((WIN_Y + $3)) "$4" "$5")
    note "$1: $n of 1000 blocks of one colour"
    [ "$n" -le "$6" ] || fail "$1 looks blown up: $n of 1000 two-by-two blocks are of one colour"
}
# The player's field with its ten ships, and the player's turn arrow.
blocky "the ships on the left field" 96 96 640 640 990
blocky "the turn arrow" 1296 832 222 222 985
pixel_near 72 400 192 192 255 10 || fail "the frame's light bevel is not at (72,400)"
quit_game
