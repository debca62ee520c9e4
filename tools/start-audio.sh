#!/usr/bin/env bash
# Starts a PulseAudio daemon with a null sink ("seabattle_null") as the default
# output, unless one is running. Its monitor source lets tests record what the
# game plays.
set -uo pipefail
if ! pactl info >/dev/null 2>&1; then
  pulseaudio -D --exit-idle-time=-1 --disallow-exit >/dev/null 2>&1
  for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
fi
pactl info >/dev/null 2>&1 || { echo "start-audio: no PulseAudio server" >&2; exit 0; }
# An idle sink delivers nothing to its monitor.
pactl unload-module module-suspend-on-idle >/dev/null 2>&1
if ! pactl list short sinks | grep -q seabattle_null; then
  pactl load-module module-null-sink sink_name=seabattle_null >/dev/null
fi
pactl set-default-sink seabattle_null
exit 0
