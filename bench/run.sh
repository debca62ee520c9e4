#!/usr/bin/env bash
# Measures the game's start-up, memory and CPU beside the same figures for a bare Qt window
# (bench/bare), how soon a hit sound is heard (bench/sound), the explosion's duration on X11 and
# on Wayland, and copies the figures of the core benchmarks. Prints the machine and a Markdown
# table.
#
# Usage: bench/run.sh [BUILD_DIR]        (default: build/ of the source tree)
#   RUNS=N          start-ups measured per program (default 10, after one warm-up)
#   CPU_SECONDS=N   length of each CPU sample (default 20)
#
# It starts its own Xvfb (the first free display of :71 to :79), its own PulseAudio daemon with
# a null sink and a headless weston; everything it starts is stopped when it ends. The game
# runs from a copy of BUILD_DIR/game, so the build's results file is left alone, with a cache of
# its own, empty when the memory is measured, so that the tune is rendered in that run. Run it on
# an otherwise idle machine.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=../tools/private-servers.sh
source "$root/tools/private-servers.sh"
build=$(cd "${1:-$root/build}" && pwd)
RUNS=${RUNS:-10}
CPU_SECONDS=${CPU_SECONDS:-20}
GAME_SRC="$build/game"
BARE="$build/bench/bare/bench_bare"
EXPLOSION="$build/bench/view/bench_explosion"
LAYOUT="$build/bench/core/bench_layout"
HITSOUND="$build/bench/sound/bench_hitsound"
COMPUTER="$build/bench/core/bench_computer"

TMP=$(mktemp -d /tmp/seabattle-bench.XXXXXX)
LOAD_AT_START=$(cut -d' ' -f1-3 /proc/loadavg)
PIDS=() # started here, stopped at exit (newest first)

log() { printf '[bench %s] %s\n' "$(date +%T)" "$*" >&2; }
die() {
    log "error: $*"
    exit 1
}

# Stops a program started here and forgets it, so that its number, once free, is never
# signalled again.
finish_pid() {
    local i
    stop_process "$1"
    for i in "${!PIDS[@]}"; do
        [ "${PIDS[i]}" = "$1" ] && unset 'PIDS[i]'
    done
    PIDS=("${PIDS[@]}")
}

cleanup() {
    local rc=$? i
    trap - EXIT
    declare -F watch_stop >/dev/null && watch_stop
    for ((i = ${#PIDS[@]} - 1; i >= 0; i--)); do
        stop_process "${PIDS[i]}"
    done
    rm -rf "$TMP"
    exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

for tool in Xvfb xdotool xev stdbuf flock awk getconf ldd /usr/bin/time; do
    command -v "$tool" >/dev/null || die "the tool '$tool' is missing (tools/install-deps.sh installs it)"
done
for file in "$GAME_SRC/seabattle" "$BARE" "$EXPLOSION" "$LAYOUT" "$COMPUTER" "$HITSOUND"; do
    [ -x "$file" ] || die "$file is not built (cmake --build $build)"
done

# --- Servers -----------------------------------------------------------------------------------

start_private_xvfb 71 79 1024x768 "$TMP/xvfb.log" || die "$PRIVATE_PROBLEM"
PIDS+=("$PRIVATE_XVFB_PID")
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
export XDG_RUNTIME_DIR="$TMP/runtime"
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# The rendered tune goes to a cache of the run's own, never the user's.
export XDG_CACHE_HOME="$TMP/cache"
log "Xvfb on $DISPLAY"

# A PulseAudio daemon of this run's own, its only output a null sink (as tools/start-audio.sh
# sets up for the shared one), in the foreground so that it is stopped and reaped at the end
# and other programs' streams do not share it. Without it the tune's figure is left out.
AUDIO=no
PULSE_PID=
if start_private_pulse "$TMP/pulse"; then
    AUDIO=yes
    PULSE_PID=$PRIVATE_PULSE_PID
    PIDS+=("$PULSE_PID")
else
    log "$PRIVATE_PROBLEM"
fi
log "sound server: $AUDIO"

# --- Watching windows being mapped --------------------------------------------------------------
# xev on the root window reports every top-level window created, resized and mapped; with no
# window manager on the display, a MapNotify is the moment the window goes on the screen.

declare -A SIZE
XEV_PID=
watch_start() {
    SIZE=()
    coproc XEV { exec stdbuf -oL xev -root -event substructure 2>/dev/null; }
    sleep 0.4 # until xev has selected the events
}
watch_stop() {
    [ -n "${XEV_PID:-}" ] || return 0
    local pid=$XEV_PID
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    XEV_PID=
}

# wait_map WxH|any SECONDS: reads events until a window of that size is mapped; sets MAP_WIN
# (its id) and MAP_AT (the time the event came, in epoch seconds). Returns 1 on a timeout.
wait_map() {
    local want=$1 deadline=$((SECONDS + $2)) line next at win
    while [ "$SECONDS" -lt "$deadline" ]; do
        IFS= read -r -t 1 line <&"${XEV[0]}" || continue
        at=$EPOCHREALTIME
        if [[ $line =~ window\ (0x[0-9a-f]+),\ \(-?[0-9]+,-?[0-9]+\),\ width\ ([0-9]+),\ height\ ([0-9]+) ]]; then
            SIZE[${BASH_REMATCH[1]}]="${BASH_REMATCH[2]}x${BASH_REMATCH[3]}"
        elif [[ $line == MapNotify* ]]; then
            IFS= read -r -t 1 next <&"${XEV[0]}" || continue
            [[ $next =~ event\ 0x[0-9a-f]+,\ window\ (0x[0-9a-f]+) ]] || continue
            win=${BASH_REMATCH[1]}
            if [ "$want" = any ] || [ "${SIZE[$win]:-}" = "$want" ]; then
                MAP_WIN=$win
                MAP_AT=$at
                return 0
            fi
        fi
    done
    return 1
}

ms_between() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", (b - a) * 1000 }'; }

# --- Programs -------------------------------------------------------------------------------------

GAME_DIR="$TMP/game"
mkdir -p "$GAME_DIR"
cp -a "$GAME_SRC"/. "$GAME_DIR"/
rm -f "$GAME_DIR"/Base.mdb "$GAME_DIR"/Base.mdb-*
# BEFORE_GAME=DIR: the game's folder as built before a change, measured the same way beside it.
BEFORE_DIR=
if [ -n "${BEFORE_GAME:-}" ]; then
    BEFORE_DIR="$TMP/before"
    mkdir -p "$BEFORE_DIR"
    cp -a "$BEFORE_GAME"/. "$BEFORE_DIR"/
    rm -f "$BEFORE_DIR"/Base.mdb "$BEFORE_DIR"/Base.mdb-*
fi

# launch NAME COMMAND...: starts the program in the background; APP_PID is its process.
launch() {
    local name=$1
    shift
    (cd "$GAME_DIR" && exec "$@" >"$TMP/$name.out" 2>"$TMP/$name.err") &
    APP_PID=$!
    PIDS+=("$APP_PID")
}

# answer_box WINDOW: presses Return in a message box of the game.
answer_box() {
    xdotool windowfocus --sync "$1" 2>/dev/null || true
    xdotool key Return
}

# answer_and_wait_main NOTICE: answers the authorship notice and waits for the main window;
# ANSWERED_AT is when the answer that took effect was sent (a key pressed before the box
# takes the focus is lost, so it is pressed again after a while).
answer_and_wait_main() {
    local attempt
    for attempt in 1 2 3 4 5; do
        ANSWERED_AT=$EPOCHREALTIME
        answer_box "$1"
        wait_map 800x600 4 && return 0
    done
    die "the game's main window did not appear after the notice (see $TMP/game.err)"
}

# One start-up of the bare window: the time to its window (ms).
start_bare_once() {
    watch_start
    local t0=$EPOCHREALTIME
    launch bare "$BARE"
    wait_map 800x600 30 || die "the bare window did not appear (see $TMP/bare.err)"
    FIRST_MS=$(ms_between "$t0" "$MAP_AT")
    watch_stop
    finish_pid "$APP_PID"
}

# One start-up of the bare message box (bench_bare --notice): the time to its box (ms).
start_box_once() {
    watch_start
    local t0=$EPOCHREALTIME
    launch box "$BARE" --notice
    wait_map any 30 || die "the bare message box did not appear (see $TMP/box.err)"
    FIRST_MS=$(ms_between "$t0" "$MAP_AT")
    watch_stop
    finish_pid "$APP_PID"
}

# One start-up of the game: the time to its first window (the authorship notice) and from
# the answer to the notice to the main window (ms).
start_game_once() {
    watch_start
    local t0=$EPOCHREALTIME
    launch game ./seabattle
    wait_map any 30 || die "the game showed no window (see $TMP/game.err)"
    FIRST_MS=$(ms_between "$t0" "$MAP_AT")
    # Only the notice may come first; the main window waits for its answer.
    [ "${SIZE[$MAP_WIN]:-}" != 800x600 ] || die "the game showed its main window before the notice"
    sleep 0.2
    answer_and_wait_main "$MAP_WIN"
    MAIN_MS=$(ms_between "$ANSWERED_AT" "$MAP_AT")
    watch_stop
    finish_pid "$APP_PID"
}

# median and range of a list of numbers: "median (min–max)"
summary() {
    printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END {
        m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        printf "%.0f ms (%.0f–%.0f)", m, v[1], v[NR] }'
}
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END {
    printf "%.1f", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

log "start-ups: one warm-up and $RUNS measured runs of each program (game, bare window, bare box)"
start_bare_once
start_box_once
start_game_once
bare_first=() box_first=() game_first=() game_main=() before_first=()
for _ in $(seq "$RUNS"); do
    if [ -n "$BEFORE_DIR" ]; then
        GAME_DIR=$BEFORE_DIR start_game_once
        before_first+=("$FIRST_MS")
    fi
    start_bare_once
    bare_first+=("$FIRST_MS")
    start_box_once
    box_first+=("$FIRST_MS")
    start_game_once
    game_first+=("$FIRST_MS")
    game_main+=("$MAIN_MS")
    sleep 0.3
done

# How much of the start-up is loading the program and its shared libraries: both programs run
# until QApplication looks for a platform plugin that does not exist, and end there.
log "loading the executables and their libraries (hyperfine)"
load_game=n/a load_bare=n/a
if command -v hyperfine >/dev/null; then
    (
        ulimit -c 0
        cd "$GAME_DIR"
        QT_QPA_PLATFORM=no-such-platform hyperfine -N -i --warmup 5 --runs 40 \
            --export-csv "$TMP/load.csv" ./seabattle "$BARE" >/dev/null 2>&1
    ) || true
    load_of() { awk -F, -v cmd="$1" '$1 == cmd { printf "%.1f ± %.1f ms", $2 * 1000, $3 * 1000 }' "$TMP/load.csv" 2>/dev/null; }
    load_game=$(load_of ./seabattle)
    load_bare=$(load_of "$BARE")
    [ -n "$load_game" ] || load_game=n/a
    [ -n "$load_bare" ] || load_bare=n/a
fi
libs_game=$(ldd "$GAME_DIR/seabattle" | wc -l)
libs_bare=$(ldd "$BARE" | wc -l)
libs_before=n/a
[ -z "$BEFORE_DIR" ] || libs_before=$(ldd "$BEFORE_DIR/seabattle" | wc -l)

# --- Memory and CPU --------------------------------------------------------------------------------

clk_tck=$(getconf CLK_TCK)
cpu_ticks() { awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"; }
# cpu_percent SECONDS PID...: each process's CPU time over the same interval, in % of one
# core (one clock tick over the interval is the resolution).
cpu_percent() {
    local seconds=$1 pid a=() b=() t0 t1 i
    shift
    for pid in "$@"; do a+=("$(cpu_ticks "$pid")"); done
    t0=$EPOCHREALTIME
    sleep "$seconds"
    for pid in "$@"; do b+=("$(cpu_ticks "$pid")"); done
    t1=$EPOCHREALTIME
    for i in "${!a[@]}"; do
        awk -v a="${a[i]}" -v b="${b[i]}" -v hz="$clk_tck" -v s="$t0" -v e="$t1" \
            'BEGIN { printf "%.2f\n", (b - a) / hz / (e - s) * 100 }'
    done
}
tick_percent=$(awk -v hz="$clk_tck" -v s="$CPU_SECONDS" 'BEGIN { printf "%.2f", 100 / hz / s }')
rss_mb() { awk '/^VmRSS:/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }
max_rss_mb() { awk -F': ' '/Maximum resident set size/ { printf "%.1f", $2 / 1024 }' "$1"; }
# The program under /usr/bin/time is that process's only child.
child_of() {
    local pid
    for _ in $(seq 100); do
        pid=$(pgrep -P "$1" | head -n 1) && [ -n "$pid" ] && {
            echo "$pid"
            return 0
        }
        sleep 0.05
    done
    return 1
}
tune_corked() {
    pactl list sink-inputs 2>/dev/null | awk -v pid="$1" '
        /^Sink Input/ { corked = "" } /Corked:/ { corked = $2 }
        $0 ~ "application.process.id = \"" pid "\"" { print corked; exit }'
}

log "bare window: memory and idle CPU over ${CPU_SECONDS} s"
watch_start
launch bare-time /usr/bin/time -v -o "$TMP/bare.time" "$BARE"
bare_time_pid=$APP_PID
bare_pid=$(child_of "$bare_time_pid") || die "the bare window did not start"
PIDS+=("$bare_pid")
wait_map 800x600 30 || die "the bare window did not appear"
watch_stop
sleep 3
bare_rss=$(rss_mb "$bare_pid")
bare_mapped=$(awk '$6 ~ /\.so/ { print $6 }' "/proc/$bare_pid/maps" | sort -u | wc -l)
xdotool mousemove 0 0
bare_idle=$(cpu_percent "$CPU_SECONDS" "$bare_pid")
finish_pid "$bare_pid"
finish_pid "$bare_time_pid"
bare_maxrss=$(max_rss_mb "$TMP/bare.time")

# measure_game: memory and CPU of the game in GAME_DIR, its tune rendered from an empty cache;
# sets game_rss_notice, game_rss, game_mapped, tune_at, game_tune, pulse_tune, game_idle,
# pulse_idle, game_hwm and game_maxrss.
measure_game() {
    log "game: memory, CPU with the tune and idle over ${CPU_SECONDS} s each"
    rm -rf "$XDG_CACHE_HOME"
    watch_start
    launch game-time /usr/bin/time -v -o "$TMP/game.time" ./seabattle
    game_time_pid=$APP_PID
    game_pid=$(child_of "$game_time_pid") || die "the game did not start"
    PIDS+=("$game_pid")
    wait_map any 30 || die "the game showed no window"
    sleep 0.5
    game_rss_notice=$(rss_mb "$game_pid")
    answer_and_wait_main "$MAP_WIN"
    local main_at=$EPOCHREALTIME
    win=$MAP_WIN
    watch_stop
    sleep 3
    # The figures are taken with the tune playing: on a busy machine its rendering may take
    # longer than the 3 s.
    if [ "$AUDIO" = yes ]; then
        for _ in $(seq 600); do
            [ "$(tune_corked "$game_pid")" = no ] && break
            sleep 0.1
        done
    fi
    tune_at=$(awk -v a="$main_at" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f", b - a }')
    game_rss=$(rss_mb "$game_pid")
    # Every shared library mapped by then, those loaded at run time included.
    game_mapped=$(awk '$6 ~ /\.so/ { print $6 }' "/proc/$game_pid/maps" | sort -u | wc -l)
    xdotool mousemove 0 0
    game_tune=n/a pulse_tune=n/a pulse_idle=n/a
    if [ "$AUDIO" = yes ]; then
        [ "$(tune_corked "$game_pid")" = no ] || log "warning: no tune stream of the game is playing"
        { read -r game_tune && read -r pulse_tune; } < <(cpu_percent "$CPU_SECONDS" "$game_pid" "$PULSE_PID")
    fi
    # Untick "Музыка" (the check box at (176..257, 576..595) of the window).
    xdotool mousemove --window "$win" 200 585 click 1
    sleep 0.5
    xdotool mousemove 0 0
    if [ "$AUDIO" = yes ] && [ -n "$(tune_corked "$game_pid")" ]; then
        log "warning: the game still has a stream to the sound server after \"Музыка\" was unticked"
    fi
    sleep 1
    if [ "$AUDIO" = yes ]; then
        { read -r game_idle && read -r pulse_idle; } < <(cpu_percent "$CPU_SECONDS" "$game_pid" "$PULSE_PID")
    else
        game_idle=$(cpu_percent "$CPU_SECONDS" "$game_pid")
    fi
    # The game's own peak: /usr/bin/time reports the largest of the game and the children it
    # waited for, the tune's renderer among them.
    game_hwm=$(awk '/^VmHWM:/ { printf "%.1f", $2 / 1024 }' "/proc/$game_pid/status")
    # Esc and "Да" end the game normally, so that /usr/bin/time reports.
    watch_start
    xdotool windowfocus --sync "$win" 2>/dev/null || true
    xdotool key Escape
    if wait_map any 10; then
        sleep 0.2
        answer_box "$MAP_WIN"
    fi
    watch_stop
    for _ in $(seq 50); do
        kill -0 "$game_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$game_pid" 2>/dev/null && log "warning: the game did not end on Esc and Return; stopped"
    finish_pid "$game_pid"
    finish_pid "$game_time_pid"
    game_maxrss=$(max_rss_mb "$TMP/game.time")
}
before_rss=n/a before_maxrss=n/a before_tune=n/a before_mapped=n/a before_idle=n/a before_hwm=n/a
if [ -n "$BEFORE_DIR" ]; then
    GAME_DIR=$BEFORE_DIR measure_game
    before_rss=$game_rss before_maxrss=$game_maxrss before_tune=$game_tune
    before_mapped=$game_mapped before_idle=$game_idle before_hwm=$game_hwm
fi
measure_game

# --- Hit sound -------------------------------------------------------------------------------------

hit_closed=n/a hit_open=n/a hit_max=n/a
if [ "$AUDIO" = yes ]; then
    log "hit sound: 20 hits with the music off and 20 with the tune playing"
    hit_out=$("$HITSOUND" 20 2>"$TMP/hitsound.err") || log "bench_hitsound failed: $(tail -n 1 "$TMP/hitsound.err")"
    hit_of() { sed -n "s/^$1.*heard within \(median .* ms\) (.*/\1/p" <<<"$hit_out"; }
    hit_closed=$(hit_of "music off")
    hit_open=$(hit_of "tune playing")
    # The goal is read on the 90th percentile: the recorder's own thread may be late too.
    hit_max=$(grep -o '90 % [0-9.]*' <<<"$hit_out" | awk '{ if ($3 > m) m = $3 } END { print (NR ? m : "n/a") }')
    [ -n "$hit_closed" ] || hit_closed=n/a
    [ -n "$hit_open" ] || hit_open=n/a
fi

# --- Explosion -------------------------------------------------------------------------------------

explosion_ms() { sed -n 's/.*explosion (\([0-9]*\) repaints) median \([0-9]*\) ms, min \([0-9]*\), max \([0-9]*\).*/\2 ms (\3–\4), \1 repaints/p'; }

log "explosion on X11"
boom_x11=$(QT_QPA_PLATFORM=xcb timeout 300 "$EXPLOSION" 2>"$TMP/boom-x11.err" | explosion_ms) || true
[ -n "$boom_x11" ] || boom_x11="n/a"

log "explosion on Wayland (weston, headless)"
boom_wl="n/a (weston did not start)"
command -v weston >/dev/null || boom_wl="n/a (weston is not installed)"
wl_dir="$TMP/wayland"
mkdir -p "$wl_dir"
chmod 700 "$wl_dir"
# The kiosk shell and no input method: weston starts no helper clients of its own.
printf '[core]\nshell=kiosk-shell.so\n[input-method]\npath=\n' >"$wl_dir/weston.ini"
if command -v weston >/dev/null; then
    XDG_RUNTIME_DIR="$wl_dir" weston --config="$wl_dir/weston.ini" --backend=headless-backend.so \
        --socket=seabattle-bench >"$wl_dir/weston.log" 2>&1 &
    weston_pid=$!
    PIDS+=("$weston_pid")
    for _ in $(seq 50); do
        [ -S "$wl_dir/seabattle-bench" ] && break
        sleep 0.1
    done
    if [ -S "$wl_dir/seabattle-bench" ]; then
        boom_wl=$(env -u DISPLAY XDG_RUNTIME_DIR="$wl_dir" WAYLAND_DISPLAY=seabattle-bench \
            QT_QPA_PLATFORM=wayland timeout 300 "$EXPLOSION" 2>"$TMP/boom-wl.err" | explosion_ms) || true
        [ -n "$boom_wl" ] || boom_wl="n/a"
    fi
    finish_pid "$weston_pid"
fi

# --- Core benchmarks -------------------------------------------------------------------------------

log "random layouts and the computer's shots"
layout_out=$("$LAYOUT")
computer_out=$("$COMPUTER")
layouts_comp=$(awk '/^computer.s field/ { for (i = 1; i <= NF; i++) if ($i == "layouts/s,") print $(i - 1) }' <<<"$layout_out")
layouts_player=$(awk '/^player.s field/ { for (i = 1; i <= NF; i++) if ($i == "layouts/s,") print $(i - 1) }' <<<"$layout_out")
shots() { awk -v l="$1" '$1 == l && NF >= 6 { printf "%s ± %s", $3, $4 }' <<<"$computer_out"; }
games=$(awk '/games per level/ { gsub(/[(]/, ""); for (i = 1; i <= NF; i++) if ($i == "games") g = $(i - 1) } END { print g }' <<<"$computer_out")

# --- Report ----------------------------------------------------------------------------------------

verdict() { awk -v v="$1" -v g="$2" 'BEGIN { if (v == "n/a") print "—"; else if (v + 0 < g + 0) print "yes"; else print "**no**" }'; }

bare_first_med=$(median "${bare_first[@]}")
game_first_med=$(median "${game_first[@]}")
first_goal=$(awk -v b="$bare_first_med" 'BEGIN { printf "%.0f", b * 1.3 }')
first_ratio=$(awk -v g="$game_first_med" -v b="$bare_first_med" 'BEGIN { printf "%.2f", g / b }')

qt_version=$(dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null || echo unknown)
cpu_model=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)
ram=$(awk '/^MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)

cat <<EOF
Machine: $(nproc) CPUs, ${cpu_model:-unknown CPU}, $ram RAM, Debian $(cat /etc/debian_version), Qt $qt_version, kernel $(uname -r)
Measured $(date '+%Y-%m-%d %H:%M'), load average at the start $LOAD_AT_START, at the end $(cut -d" " -f1-3 /proc/loadavg); X11: Xvfb, no window manager; sound: ${AUDIO/yes/PulseAudio null sink}

| Figure | Game | Bare Qt window | Goal | Met |
|---|---|---|---|---|
| Start to the first window mapped (median of $RUNS, min–max) | $(summary "${game_first[@]}") (the notice) | $(summary "${bare_first[@]}") | ≤ 1.3 × bare = $first_goal ms | $(verdict "$game_first_med" "$first_goal") ($first_ratio ×) |
| The same, for a bare message box with the notice's text instead (\`bench_bare --notice\`) | — | $(summary "${box_first[@]}") | — | — |
| Loading the program and its shared libraries (hyperfine, mean of 40) | $load_game, $libs_game libraries | $load_bare, $libs_bare libraries | — | — |
| Notice answered (Return) to the main window mapped | $(summary "${game_main[@]}") | — | — | — |
| Resident memory (VmRSS) while the notice shows, before the tune is made | $game_rss_notice MB | — | — | — |
| Shared libraries mapped 3 s after the main window, the tune playing (taken at $tune_at s) | $game_mapped | $bare_mapped | ≤ 80 | $(verdict "$game_mapped" 80.5) |
| Resident memory (VmRSS) then | $game_rss MB | $bare_rss MB (3 s after its window) | ≤ 40 MB | $(verdict "$game_rss" 40.05) |
| Maximum resident memory of the game or its renderer (\`/usr/bin/time -v\`), the tune rendered in the run | $game_maxrss MB | $bare_maxrss MB | ≤ 55 MB | $(verdict "$game_maxrss" 55.05) |
| Maximum resident memory of the game's own process (VmHWM) | $game_hwm MB | — | — | — |
| CPU while idle, music off: no stream open (${CPU_SECONDS} s; one clock tick = $tick_percent %) | $game_idle % of a core | $bare_idle % | as the bare window, one tick at most | $(verdict "$game_idle" "$(awk -v t="$tick_percent" 'BEGIN { print t + 0.001 }')") |
| CPU while the tune plays (${CPU_SECONDS} s) | $game_tune % of a core | — | < 2 % | $(verdict "$game_tune" 2) |
| The sound server's CPU meanwhile (tune / music off) | $pulse_tune % / $pulse_idle % | — | — | — |
| Hit sound heard after it is started, music off: the stream opened for it (\`bench_hitsound\`, 20 hits; an upper bound) | $hit_closed | — | ≤ 50 ms (90 %) | $(verdict "$hit_max" 50.05) |
| The same with the tune's stream playing beside it | $hit_open | — | ≤ 50 ms | (above) |
| Explosion on X11 (Xvfb), median of 5 | $boom_x11 | — | — | — |
| Explosion on Wayland (weston headless), median of 5 | $boom_wl | — | — | — |
| Random layouts per second, computer's field | $layouts_comp | — | — | — |
| Random layouts per second, player's field | $layouts_player | — | — | — |
| Computer's shots to sink a fleet, "Легкий" (mean ± sd, $games games) | $(shots 1) | — | — | — |
| Computer's shots to sink a fleet, "Средний" | $(shots 2) | — | — | — |
| Computer's shots to sink a fleet, "Сложный" | $(shots 3) | — | — | — |
EOF

# --- Beside the game before the change ---------------------------------------------------------

[ -n "$BEFORE_DIR" ] || exit 0
box_med=$(median "${box_first[@]}")
before_med=$(median "${before_first[@]}")
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
# Lines of the sound library now, and at BEFORE_REV (a commit of this repository) when given.
sound_lines=$(cat "$root"/src/sound/CMakeLists.txt "$root"/src/sound/sound/* | wc -l)
tune_lines=$(cat "$root"/src/tune/CMakeLists.txt "$root"/src/tune/tune/* 2>/dev/null | wc -l)
sound_lines_before=n/a
if [ -n "${BEFORE_REV:-}" ]; then
    sound_lines_before=$(git -C "$root" ls-tree -r --name-only "$BEFORE_REV" sound/ src/sound/ \
        | while read -r f; do git -C "$root" show "$BEFORE_REV:$f"; done | wc -l)
fi
cat <<EOF

Beside the game before the change (BEFORE_GAME, measured in the same run):

| Figure | Before | Now | Goal | Met |
|---|---|---|---|---|
| Lines in \`src/sound/\` | $sound_lines_before | $sound_lines | — | — |
| Lines in \`src/tune/\` (the renderer, a program of its own) | — | $tune_lines | — | — |
| Shared libraries at start (\`ldd\`) | $libs_before | $libs_game | ≤ 60 | $(verdict "$libs_game" 61) |
| Shared libraries mapped 3 s after the main window, the tune playing | $before_mapped | $game_mapped | ≤ 80 | $(verdict "$game_mapped" 80.5) |
| Resident memory then | $before_rss MB | $game_rss MB | ≤ 40 MB | $(verdict "$game_rss" 40.05) |
| Maximum resident memory over the run, the game's own process (VmHWM) | $before_hwm MB | $game_hwm MB | — | — |
| Maximum resident memory of the game or its renderer (\`/usr/bin/time -v\`) | $before_maxrss MB | $game_maxrss MB | ≤ 55 MB | $(verdict "$game_maxrss" 55.05) |
| CPU while the tune plays | $before_tune % | $game_tune % | ≤ 1 % | $(verdict "$game_tune" 1.01) |
| CPU with "Музыка" unticked (one clock tick = $tick_percent %) | $before_idle % | $game_idle % | one tick at most | $(verdict "$game_idle" "$(awk -v t="$tick_percent" 'BEGIN { print t + 0.001 }')") |
| First window against the bare message box ($box_med ms) | $(ratio "$before_med" "$box_med") × ($before_med ms) | $(ratio "$game_first_med" "$box_med") × ($game_first_med ms) | ≤ 1.1 × | $(verdict "$(ratio "$game_first_med" "$box_med")" 1.101) |
EOF
