#!/usr/bin/env bash
# The X server goes away while the game plays its tune and asks whether to quit: Qt ends the
# program with exit(), and the sound, still playing on the mixer's thread, must let it end
# without a crash or a hang.
# usage: lost_display.sh SEABATTLE_EXECUTABLE [OUTPUT_DIR]
source "$(dirname "$0")/lib.sh"
e2e_open "$@"

start_game
sleep 2 # the tune is rendered and plays
xdotool windowfocus "$WIN" 2>/dev/null || true
xdotool key Escape
wait_for_box 10 "the question to quit after Esc" >/dev/null
kill -KILL "$PRIVATE_XVFB_PID"
for _ in $(seq 100); do
    game_running || break
    sleep 0.1
done
game_running && fail "the game still runs 10 s after its X server went away"
code=0
wait "$GAME_PID" || code=$?
note "the game ended with exit code $code; its stderr:"
cat "$E2E_TMP/game.err"
[ "$code" -lt 128 ] || fail "the game ended on signal $((code - 128))"
! grep -q -i "segmentation\|AddressSanitizer\|runtime error" "$E2E_TMP/game.err" \
    || fail "the game's stderr reports a crash"
note "passed"
