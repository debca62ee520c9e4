#!/usr/bin/env bash
# The game heard through a real screen reader: Orca, on a session bus and an accessibility
# bus of the test's own, speaking to a speech server of the test's own whose only voice
# writes each utterance to a transcript and takes as long over it as Debian's default voice
# (espeak-ng, Russian) takes to say it; no audio device is needed. A fleet is placed by hand
# and a game played by keys from what Orca said, and the pace of the news is measured from
# the speech server's log (screen_reader.py). Runs as any user, root included, with no
# desktop session; skipped only when the packages are not installed.
# With "en" after the output folder, a short run for a player whose desktop speaks English:
# the placement and the battle's opening must be heard in English (screen_reader.py).
# usage: screen_reader.sh SEABATTLE_EXECUTABLE [OUTPUT_DIR [en]]
source "$(dirname "$0")/lib.sh"
LAUNCHER=/usr/libexec/at-spi-bus-launcher
GENERIC=/usr/lib/speech-dispatcher-modules/sd_generic
command -v dbus-daemon >/dev/null || skip "dbus-daemon is not installed (package dbus)"
[ -x "$LAUNCHER" ] || skip "$LAUNCHER is not installed (package at-spi2-core)"
[ -x /usr/bin/orca ] || skip "orca is not installed (package orca)"
[ -x "$GENERIC" ] || skip "$GENERIC is not installed (package speech-dispatcher)"
command -v espeak-ng >/dev/null || skip "espeak-ng is not installed (package espeak-ng)"
command -v soxi >/dev/null || skip "soxi is not installed (package sox)"
E2E_SOUND=none e2e_open "$@"

SPOKEN="$E2E_TMP/spoken.txt"
ORCA_DEBUG="$E2E_TMP/orca-debug.txt"
# Everything Orca and the speech server keep, in folders of the test's own.
export HOME="$E2E_TMP/home" XDG_RUNTIME_DIR="$E2E_TMP/runtime"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_CACHE_HOME="$HOME/.cache"
export GSETTINGS_BACKEND=memory
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$E2E_TMP/speech/modules"
chmod 700 "$XDG_RUNTIME_DIR"
touch "$SPOKEN"

show_speech() {
    echo "--- what Orca said:" >&2
    tail -n 30 "$SPOKEN" >&2
    echo "--- Orca's log (full debug output: $E2E_OUT/screen_reader-orca.txt):" >&2
    tail -n 15 "$E2E_TMP/orca.log" >&2
    cp "$ORCA_DEBUG" "$E2E_OUT/screen_reader-orca.txt" 2>/dev/null || true
}
fail() {
    show_speech
    echo "FAIL [$E2E_NAME]: $*" >&2
    exit 1
}

dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$E2E_TMP/bus" 2>/dev/null &
E2E_PIDS+=($!)
wait_until 10 "the session bus to start" test -s "$E2E_TMP/bus"
DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$E2E_TMP/bus")
export DBUS_SESSION_BUS_ADDRESS
"$LAUNCHER" --launch-immediately >"$E2E_TMP/atspi.log" 2>&1 &
E2E_PIDS+=($!)
bus_ready() { dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress; }
wait_until 20 "the accessibility bus" bus_ready

# The speech server: its one voice appends what it is given to the transcript, one line
# an utterance (its own line breaks made spaces; "~" never occurs, so nothing is cut into
# sentences), for a failure's report; then stays busy for as long as espeak-ng's Russian
# voice at its ordinary rate takes to say it, unless Orca stops speech (at a key) and cuts it
# short. The server's log (level 5) has each utterance's text and stamps its start, stop
# and end: the test reads what was said from there. The sound card is ALSA's null device,
# which every system has.
cat >"$E2E_TMP/speech/speechd.conf" <<EOF
AudioOutputMethod "alsa"
AudioALSADevice "null"
AddModule "transcript" "sd_generic" "transcript.conf"
DefaultModule transcript
LogLevel 5
EOF
# The module puts in the text only where \$DATA first occurs: it goes to a file.
TEXT="$E2E_TMP/speech/utterance.txt"
VOICED="$E2E_TMP/speech/utterance.wav"
cat >"$E2E_TMP/speech/modules/transcript.conf" <<EOF
GenericExecuteSynth "printf '%s' \\'\$DATA\\' >$TEXT; tr '\\\\n' ' ' <$TEXT >>$SPOKEN; echo >>$SPOKEN; espeak-ng -v ru -s 170 -f $TEXT -w $VOICED && exec sleep \$(soxi -D $VOICED)"
GenericDelimiters "~"
GenericMaxChunkLength 100000
GenericLanguage "en" "en" "utf-8"
GenericLanguage "ru" "ru" "utf-8"
AddVoice "en" "MALE1" "transcript"
AddVoice "ru" "MALE1" "transcript"
EOF
export SPEECHD_ADDRESS="unix_socket:$E2E_TMP/speech/socket"
LC_ALL=C.UTF-8 speech-dispatcher --run-single --timeout 0 --config-dir "$E2E_TMP/speech" \
    --communication-method unix_socket --socket-path "$E2E_TMP/speech/socket" \
    --log-dir "$E2E_TMP/speech" --pid-file "$E2E_TMP/speech/pid" >"$E2E_TMP/speech/out" 2>&1 &
E2E_PIDS+=($!)
wait_until 20 "the speech server's socket" test -S "$E2E_TMP/speech/socket"

# Orca itself, with three habits of its launcher changed: it refuses to start while any
# other Orca of the same user runs, on whatever bus (tests run side by side); it buffers
# its debug output (a failure shows all of it); and it drops what it was about to say of
# an application that has not answered within 0.8 s, which a loaded machine can take.
LC_ALL=C.UTF-8 "$E2E_PY" - --debug-file "$ORCA_DEBUG" >"$E2E_TMP/orca.log" 2>&1 <<'EOF' &
import functools, importlib.machinery, importlib.util, sys
import pyatspi
pyatspi.setTimeout(15000, 30000)
loader = importlib.machinery.SourceFileLoader("orca_launcher", "/usr/bin/orca")
launcher = importlib.util.module_from_spec(importlib.util.spec_from_loader(loader.name, loader))
loader.exec_module(launcher)
launcher.otherOrcas = lambda: []
launcher.open = functools.partial(open, buffering=1)
sys.argv[0] = "orca"
sys.exit(launcher.main())
EOF
E2E_PIDS+=($!)
orca_ready() { grep -q "^Screen reader on" "$SPOKEN"; }
wait_until 90 "Orca to say it is on" orca_ready
note "Orca speaks"

export NO_AT_BRIDGE=0 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# Qt 6.4 holds a copy of each key until the screen reader has heard it, and never frees
# one whose control is gone by then (a message box answered meanwhile) or that is still
# held when the game ends: a leak of Qt's own that only a screen reader brings, left out
# of a sanitizer build's report here.
if [[ ${LSAN_OPTIONS:-} =~ suppressions=([^:]*) ]]; then
    { cat "${BASH_REMATCH[1]}"; echo "leak:libQt6Gui"; } >"$E2E_TMP/lsan.supp"
    export LSAN_OPTIONS=${LSAN_OPTIONS/${BASH_REMATCH[1]}/$E2E_TMP/lsan.supp}
fi
language=()
if [ "${3:-}" = en ]; then
    language=(LANG=en_US.UTF-8)
    GAME_TITLE="Sea Battle"
    export E2E_LANG=en
fi
start_game "${language[@]}"
# A whole game (E2E_WHOLE_GAME=1, for the figures) takes longer than the test's own.
timeout "$([ "${E2E_WHOLE_GAME:-}" = 1 ] && echo 3000 || echo 540)" "$E2E_PY" \
    "$E2E_HERE/screen_reader.py" "$WIN" "$E2E_TMP/speech/speech-dispatcher.log" \
    || fail "the game was not heard as it should be"
quit_game
note "passed"
