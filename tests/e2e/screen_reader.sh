#!/usr/bin/env bash
# A screen reader's view of the real game over AT-SPI (a session bus and an accessibility
# bus of the test's own): the controls and cells by their Russian names, the focused
# cell's name, and a shot's outcome of either side, after keys pressed with xdotool.
# Skipped only when the accessibility services are not installed.
# usage: screen_reader.sh SEABATTLE_EXECUTABLE [OUTPUT_DIR]
E2E_NAME=screen_reader
source "$(dirname "$0")/lib.sh"
GAME_EXE=$1
E2E_OUT=${2:-$E2E_OUT}
LAUNCHER=/usr/libexec/at-spi-bus-launcher
command -v dbus-daemon >/dev/null || skip "dbus-daemon is not installed (package dbus)"
[ -x "$LAUNCHER" ] || skip "$LAUNCHER is not installed (package at-spi2-core)"
"$E2E_PY" -c 'import pyatspi' 2>/dev/null || skip "pyatspi is not installed (package python3-pyatspi)"

start_xvfb
dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$E2E_TMP/bus" &
E2E_PIDS+=($!)
wait_until 10 "the session bus to start" test -s "$E2E_TMP/bus"
DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$E2E_TMP/bus")
export DBUS_SESSION_BUS_ADDRESS
mkdir -p "$E2E_TMP/runtime" && chmod 700 "$E2E_TMP/runtime"
XDG_RUNTIME_DIR="$E2E_TMP/runtime" "$LAUNCHER" --launch-immediately >"$E2E_TMP/atspi.log" 2>&1 &
E2E_PIDS+=($!)
bus_ready() { dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress; }
wait_until 10 "the accessibility bus" bus_ready
export NO_AT_BRIDGE=0 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_game
timeout 120 "$E2E_PY" "$E2E_HERE/screen_reader.py" "$WIN" || fail "the screen reader's checks failed"
quit_game
note "passed"
