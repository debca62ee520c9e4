#!/usr/bin/env bash
# The game on Debian's default desktop: the real GNOME Shell on Wayland, nested in the test's own
# X server, with a session bus and a stand-in system bus of the test's own. The game is started
# as the desktop starts it (no platform chosen) and a whole game is played through the shell's
# input. Every box - the notice, the refusal, the result, both questions, the statistics window -
# must open centred over the game window, modal to it as the shell sees it, with neither a
# minimise nor a maximise button; a key pressed right after a box closes must reach the game;
# and the top bar names the game "Морской бой", though it runs from a folder of its own.
# usage: gnome_shell.sh SEABATTLE_EXECUTABLE [OUTPUT_DIR]
source "$(dirname "$0")/lib.sh"
E2E_SOUND=none e2e_open "$@"
require_tools gnome-shell Xwayland dbus-daemon xprop setsid
TEST_DEADLINE=$((SECONDS + 240))

# --- The desktop ---------------------------------------------------------------------------------
SHELL_DIR="$E2E_TMP/shell"
SHELL_RUNTIME="$SHELL_DIR/runtime"
SHELL_WAYLAND="seabattle-e2e-$$"
mkdir -p "$SHELL_RUNTIME" "$SHELL_DIR/home"
chmod 700 "$SHELL_RUNTIME"
# The buses and the shell in a process group of their own, ended as one with its leader: the
# helpers the buses start for the shell go with them.
setsid bash -c '
    trap "trap - TERM; kill -TERM -- -\$\$" TERM
    cd "$1"
    dbus-daemon --session --nofork --address="unix:path=$1/session.sock" 2>session.log &
    dbus-daemon --session --nofork --address="unix:path=$1/system.sock" 2>system.log &
    for _ in $(seq 100); do
        [ -S session.sock ] && [ -S system.sock ] && break
        sleep 0.1
    done
    env HOME="$1/home" XDG_RUNTIME_DIR="$1/runtime" GSETTINGS_BACKEND=memory \
        XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=GNOME \
        DBUS_SESSION_BUS_ADDRESS="unix:path=$1/session.sock" \
        DBUS_SYSTEM_BUS_ADDRESS="unix:path=$1/system.sock" \
        MUTTER_DEBUG_DUMMY_MODE_SPECS="$2" \
        gnome-shell --nested --wayland --wayland-display="$3" >shell.log 2>&1 &
    wait
' gnome-session "$SHELL_DIR" "${SCREEN_W}x${SCREEN_H}" "$SHELL_WAYLAND" &
E2E_PIDS+=("$!")
shell_started() { grep -q "GNOME Shell started" "$SHELL_DIR/shell.log" 2>/dev/null; }
wait_until 60 "GNOME Shell to start (its log: $SHELL_DIR/shell.log)" shell_started
XW_DISPLAY=$(sed -n 's/.*Using public X11 display \(:[0-9]*\).*/\1/p' "$SHELL_DIR/shell.log")
XW_AUTH=$(ls "$SHELL_RUNTIME"/.mutter-Xwaylandauth.* 2>/dev/null | head -n 1)
[ -n "$XW_DISPLAY" ] && [ -n "$XW_AUTH" ] || fail "GNOME Shell started no XWayland: $(tail -n 5 "$SHELL_DIR/shell.log")"
note "GNOME Shell on Wayland, XWayland at $XW_DISPLAY"

# The shell opens in its overview (dark grey around the workspace); Esc leaves it for the desktop.
overview_left() {
    xdotool key Escape
    sleep 0.3
    snap && ! pixels at 8 400 | awk '{ exit !($3 < 80) }'
}
wait_until 30 "GNOME Shell to leave its overview" overview_left

# The game's windows as the shell places them, seen through XWayland; input and screenshots go
# through the shell's own output in the test's X server.
xw() { DISPLAY=$XW_DISPLAY XAUTHORITY=$XW_AUTH "$@"; }
game_windows() { xw xdotool search --class seabattle 2>/dev/null || true; }
is_viewable() { xw xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
window_size() { xw xwininfo -id "$1" 2>/dev/null | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }
window_origin() {
    eval "$(xw xdotool getwindowgeometry --shell "$WIN")"
    WIN_X=$X
    WIN_Y=$Y
}

# Keys go through the shell to the window it gave the focus: a box is answered where it is.
answer_box() {
    xdotool key "$2"
    wait_until 5 "the box $1 to close after $2" box_gone "$1"
}

# The whole screen, top bar included, for the eye.
screen_shot() {
    pixels save >/dev/null
    convert -size "${SCREEN_W}x${SCREEN_H}" -depth 8 "rgb:$SNAP" "$E2E_OUT/gnome_shell-$1.png"
}

# measure_box NAME BOX: the box's frame (BOX_X, BOX_Y, BOX_W, BOX_H, its title bar included) and
# what the shell says of it (BOX_PROPS), once the shell shows it: its light face covers its place
# on the screen. The screen then goes to gnome_shell-NAME.png.
measure_box() {
    local X Y WIDTH HEIGHT top
    read -r X Y WIDTH HEIGHT < <(xw xwininfo -id "$2" | awk '/Absolute upper-left X/ {x=$NF}
        /Absolute upper-left Y/ {y=$NF} /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}')
    BOX_PROPS=$(xw xprop -id "$2" _NET_FRAME_EXTENTS _NET_WM_ALLOWED_ACTIONS _NET_WM_STATE WM_TRANSIENT_FOR)
    top=$(sed -n 's/^_NET_FRAME_EXTENTS(CARDINAL) = [0-9]*, [0-9]*, \([0-9]*\),.*/\1/p' <<<"$BOX_PROPS")
    BOX_X=$X BOX_Y=$((Y - ${top:-0})) BOX_W=$WIDTH BOX_H=$((HEIGHT + ${top:-0}))
    box_shown() { snap && [ "$(pixels count "$X" "$Y" "$WIDTH" "$HEIGHT" 239 239 239 16)" -ge $((WIDTH * HEIGHT / 2)) ]; }
    wait_until 10 "the box \"$1\" to be drawn at its place (${WIDTH}x$HEIGHT at $X,$Y)" box_shown
    screen_shot "$1"
}

# judge_box NAME [BEFORE_WINDOW]: the box measured last lies within the game window with its
# centre at the window's centre; the shell offers neither minimise nor maximise for it; and it is
# transient for the window and modal. A box that came before the window (the notice) stands
# alone: the shell places it on the screen's middle line, a little above the middle.
judge_box() {
    local dx=$((BOX_X + BOX_W / 2 - WIN_X - 400)) dy=$((BOX_Y + BOX_H / 2 - WIN_Y - 300)) off=16
    [ -z "${2:-}" ] || off=80
    note "box \"$1\": ${BOX_W}x$BOX_H at ($BOX_X,$BOX_Y) with its frame, centre off by ($dx,$dy)"
    [ "${dx#-}" -le 16 ] && [ "${dy#-}" -le $off ] \
        || fail "the box \"$1\" is not centred over the game window: off by ($dx,$dy) (gnome_shell-$1.png)"
    [ "$BOX_X" -ge "$WIN_X" ] && [ "$((BOX_X + BOX_W))" -le "$((WIN_X + 800))" ] \
        && [ "$BOX_Y" -ge "$WIN_Y" ] && [ "$((BOX_Y + BOX_H))" -le "$((WIN_Y + 600))" ] \
        || fail "the box \"$1\" reaches beyond the game window (gnome_shell-$1.png)"
    ! grep -Eq '_NET_WM_ACTION_(MINIMIZE|MAXIMIZE)' <<<"$BOX_PROPS" \
        || fail "the shell offers to minimise or maximise the box \"$1\": $BOX_PROPS"
    [ -n "${2:-}" ] || {
        grep -q "WM_TRANSIENT_FOR(WINDOW): window id # $(printf '0x%x' "$WIN")\$" <<<"$BOX_PROPS" \
            && grep -q '_NET_WM_STATE_MODAL' <<<"$BOX_PROPS"
    } || fail "the box \"$1\" is not modal to the game window: $BOX_PROPS"
}

# check_box NAME BOX: measures an open box and judges it.
check_box() {
    measure_box "$1" "$2"
    judge_box "$1"
}

# --- The game ------------------------------------------------------------------------------------
copy_game
(cd "$GAME_DIR" && exec env -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$SHELL_RUNTIME" HOME="$SHELL_DIR/home" \
    DISPLAY="$XW_DISPLAY" XAUTHORITY="$XW_AUTH" WAYLAND_DISPLAY="$SHELL_WAYLAND" \
    XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=GNOME \
    DBUS_SESSION_BUS_ADDRESS="unix:path=$SHELL_DIR/session.sock" \
    LANGUAGE= LC_ALL= LC_MESSAGES= LANG=C.UTF-8 SEABATTLE_TEST_PACE=$FAST_PACE ./seabattle >"$E2E_TMP/game.out" 2>"$E2E_TMP/game.err") &
GAME_PID=$!
E2E_PIDS+=("$GAME_PID")
fast_battle
notice=$(wait_for_box 60 "the authorship notice at start-up")
measure_box notice "$notice"
answer_box "$notice" Return
wait_until 20 "the main window (800x600) to be shown" main_window
WIN=$(main_window)
window_origin
wait_until 10 "the window's background to be drawn" pixel_near_now 420 470 $SEA 2
note "main window at ($WIN_X,$WIN_Y)"
judge_box notice before-window

# The shell names the game as its menu entry does, run from a folder as it is here: the name
# of the top bar's application menu, read from the shell itself through its accessibility.
shell_names_game() {
    DBUS_SESSION_BUS_ADDRESS="unix:path=$SHELL_DIR/session.sock" timeout 20 "$E2E_PY" -c '
import sys, pyatspi
def names(node, depth):
    if depth > 9:
        return
    for child in node:
        if child is not None:
            yield child.getRoleName(), child.name
            yield from names(child, depth + 1)
shell = [app for app in pyatspi.Registry.getDesktop(0) if app and app.name == "gnome-shell"]
sys.exit(0 if shell and ("menu", "Морской бой") in names(shell[0], 0) else 1)'
}
wait_until 30 "the top bar to name the game \"Морской бой\"" shell_names_game
snap && screen_shot window

lay_out_and_choose_level 0
# "Новая Игра" refused with Esc, and Esc again as a quick hand types it, 0.15 s later: the
# second must reach the game and ask to quit.
click_at 744 585
box=$(wait_for_box 10 "the question of \"Новая Игра\"")
check_box new-game "$box"
xdotool key --delay 150 Escape Escape
wait_until 5 "the question of \"Новая Игра\" to close after Esc" box_gone "$box"
box=$(wait_for_box 10 "the question to quit after Esc pressed right after a box closed")
check_box quit "$box"
answer_box "$box" Escape

# The battle: the player fires row by row while the computer answers, and fires at the first
# cell once more, for the refusal. The shell dims the game window under a modal box, which is
# what the battle looks for before it asks XWayland for the box.
box_over_game() { ! pixel_near 420 470 $SEA 2; }
# fire ROW COL: a click at the cell, the pointer then taken off the fields, where the aim cursor
# would hide the cell's look; waits until the game has taken the shot.
fire() {
    local xy before
    xy=$(cell_centre right "$1" "$2")
    snap
    before=$(cell_sig right "$1" "$2")
    xdotool mousemove $((WIN_X + ${xy% *})) $((WIN_Y + ${xy#* })) click 1 \
        mousemove $((WIN_X + 600)) $((WIN_Y + 520))
    shot_taken() { snap && { box_over_game || [ "$(cell_sig right "$1" "$2")" != "$before" ]; }; }
    wait_until 10 "the shot at row $1, column $2 to be taken" shot_taken "$@"
    box_over_game || settle_cell "$1" "$2" # a hit's explosion, then the ring of a sunk ship
}
turn_or_box() { snap && { box_over_game || is_players_turn; }; }
row=1 col=1 sweeps=0 refused=no game_over=no
while [ "$game_over" = no ]; do
    [ "$SECONDS" -lt "$TEST_DEADLINE" ] || fail "the game did not end in time"
    wait_until 20 "the player's turn or a box" turn_or_box
    if box_over_game; then
        box=$(message_box) || continue # the dimming of a box just closed fades out
        if [ "$refused" = pending ]; then
            check_box refusal "$box"
            answer_box "$box" Return
            refused=yes
        else
            # The result, or the refusal of a cell the game marked around a sunk ship a moment
            # before the screen showed it.
            check_box shot "$box"
            handle_box "$box"
            [ "$game_over" = no ] || mv "$E2E_OUT/gnome_shell-shot.png" "$E2E_OUT/gnome_shell-result.png"
        fi
        continue
    fi
    if [ "$refused" = no ] && [ "$row$col" != 11 ]; then
        refused=pending
        fire 1 1
        continue
    fi
    if [ "$row" -gt 10 ]; then
        sweeps=$((sweeps + 1))
        [ "$sweeps" -lt 3 ] || fail "every cell of the computer's field was fired at and the game goes on"
        row=1
    fi
    cell_untried right "$row" "$col" && fire "$row" "$col"
    col=$((col % 10 + 1))
    [ "$col" -gt 1 ] || row=$((row + 1))
done
[ "$refused" = yes ] || fail "the game ended before a shot could be refused"
note "the game is over: $(sqlite3 "$GAME_DIR/Base.mdb" 'select * from tBase')"

click_at 640 585 # "Статистика"
box=$(wait_for_box 10 "the statistics window")
check_box statistics "$box"
xdotool key --delay 150 Escape Escape
wait_until 5 "the statistics window to close after Esc" box_gone "$box"
box=$(wait_for_box 10 "the question to quit after Esc pressed right after the statistics closed")
answer_box "$box" Return
wait_game_end 10 "Esc was answered with Yes"
[ "$GAME_EXIT" -eq 0 ] || fail "the game ended with exit code $GAME_EXIT after Esc and Yes"
WIN=
note "passed: every box opened centred over the game, modal to it, without minimise or maximise"
