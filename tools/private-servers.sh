# shellcheck shell=bash disable=SC2034
# Sourced by the end-to-end tests, the installation test and the benchmarks: an X server and
# a sound server of the caller's own, so that runs at the same moment never share a screen
# or hear each other. The server functions return 1 with the reason in PRIVATE_PROBLEM; the caller
# stops the process it gets (PRIVATE_XVFB_PID, PRIVATE_PULSE_PID) when it is done.

# start_private_xvfb FIRST LAST WIDTHxHEIGHT LOGFILE: an Xvfb on the first free display of
# :FIRST to :LAST; exports DISPLAY. A lock file per display keeps callers that start at the
# same moment apart: the caller holds it open as PRIVATE_XVFB_LOCK (a file descriptor its
# children need not get).
start_private_xvfb() {
    local first=$1 last=$2 size=$3 log=$4 n pid lock
    PRIVATE_PROBLEM=
    PRIVATE_XVFB_PID=
    for ((n = first; n <= last; n++)); do
        exec {lock}>"/tmp/seabattle-display-$n.lock"
        if ! flock -n "$lock"; then
            exec {lock}>&-
            continue
        fi
        Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp -noreset >"$log" 2>&1 &
        pid=$!
        for _ in $(seq 100); do
            kill -0 "$pid" 2>/dev/null || break
            DISPLAY=":$n" xdotool getdisplaygeometry >/dev/null 2>&1 && break
            sleep 0.1
        done
        # The server's lock file names the process that owns the display: ours, not one
        # left over by an earlier run.
        if kill -0 "$pid" 2>/dev/null && DISPLAY=":$n" xdotool getdisplaygeometry >/dev/null 2>&1 \
            && [ "$(tr -d ' \n' <"/tmp/.X$n-lock" 2>/dev/null)" = "$pid" ]; then
            PRIVATE_XVFB_PID=$pid
            PRIVATE_XVFB_LOCK=$lock
            export DISPLAY=":$n"
            return 0
        fi
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        exec {lock}>&-
    done
    PRIVATE_PROBLEM="no X display of :$first to :$last could be started ($(tail -n 3 "$log" 2>/dev/null))"
    return 1
}

# start_private_pulse DIR: a PulseAudio daemon kept in DIR with one null sink,
# "seabattle_null", as its default output; exports PULSE_SERVER.
start_private_pulse() {
    local dir=$1 pid
    PRIVATE_PROBLEM=
    PRIVATE_PULSE_PID=
    if ! command -v pulseaudio >/dev/null || ! command -v pactl >/dev/null; then
        PRIVATE_PROBLEM="pulseaudio or pactl is not installed"
        return 1
    fi
    mkdir -p "$dir"
    chmod 700 "$dir"
    HOME="$dir" XDG_RUNTIME_DIR="$dir" PULSE_RUNTIME_PATH="$dir" PULSE_STATE_PATH="$dir" \
        pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=false \
        -L "module-native-protocol-unix socket=$dir/native auth-anonymous=1" \
        -L "module-null-sink sink_name=seabattle_null rate=44100 channels=2" \
        >"$dir/log" 2>&1 &
    pid=$!
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        PULSE_SERVER="unix:$dir/native" pactl info >/dev/null 2>&1 && break
        sleep 0.1
    done
    if ! PULSE_SERVER="unix:$dir/native" pactl info >/dev/null 2>&1; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        PRIVATE_PROBLEM="a PulseAudio daemon could not be started: $(grep -m1 '^E:' "$dir/log" || tail -n 1 "$dir/log")"
        return 1
    fi
    PRIVATE_PULSE_PID=$pid
    export PULSE_SERVER="unix:$dir/native"
}

# stop_process PID: asks a process started by the caller to end, waits up to 3 s, then kills
# it, and reaps it.
stop_process() {
    local pid=$1
    kill "$pid" 2>/dev/null || return 0
    for _ in $(seq 30); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}
