#!/usr/bin/env python3
"""Sound levels of a PulseAudio source, time-stamped as the audio arrives.

record SOURCE FILE
    runs parec on SOURCE (s16le, 44100 Hz, stereo, low latency) and appends to FILE one
    line per 50 ms of audio: "<arrival time, s since the epoch> <rms> <peak>". The arrival
    time of each block is taken when it is read, so the file never depends on what parec
    still buffers when it is stopped. Runs until killed.
loud-after FILE T THRESHOLD
    prints the arrival time of the first block after T whose rms exceeds THRESHOLD (exit 1
    when there is none yet)
quiet-after FILE T THRESHOLD HOLD
    prints the arrival time of the first block after T that begins a run of HOLD seconds of
    blocks with rms at most THRESHOLD (exit 1 when there is none yet)
max FILE T1 T2
    prints the largest rms of the blocks that arrived between T1 and T2, and their count
last FILE
    prints the arrival time of the newest block
"""
import math
import signal
import subprocess
import sys
import time

RATE = 44100
CHANNELS = 2
BLOCK_FRAMES = RATE // 20  # 50 ms
BLOCK_BYTES = BLOCK_FRAMES * CHANNELS * 2


def levels_of(block):
    samples = memoryview(block).cast("h")
    total = 0
    peak = 0
    for s in samples:
        total += s * s
        peak = max(peak, abs(s))
    return math.sqrt(total / len(samples)), peak


def record(source, path):
    parec = subprocess.Popen(
        ["parec", "-d", source, "--raw", "--format=s16le", f"--rate={RATE}",
         f"--channels={CHANNELS}", "--latency-msec=20"],
        stdout=subprocess.PIPE)

    def stop(*_):
        parec.terminate()
        sys.exit(0)

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    pending = b""
    with open(path, "a", buffering=1) as out:
        while True:
            chunk = parec.stdout.read1(BLOCK_BYTES)
            if not chunk:
                return 1 if parec.wait() else 0
            now = time.time()
            pending += chunk
            while len(pending) >= BLOCK_BYTES:
                block, pending = pending[:BLOCK_BYTES], pending[BLOCK_BYTES:]
                rms, peak = levels_of(block)
                out.write(f"{now:.3f} {rms:.1f} {peak}\n")


def blocks(path):
    result = []
    with open(path) as f:
        for line in f:
            parts = line.split()
            if len(parts) == 3:
                result.append((float(parts[0]), float(parts[1])))
    return result


def main(argv):
    command = argv[1]
    if command == "record":
        return record(argv[2], argv[3])
    data = blocks(argv[2])
    if command == "loud-after":
        t, threshold = float(argv[3]), float(argv[4])
        for when, rms in data:
            if when > t and rms > threshold:
                print(f"{when:.3f}")
                return 0
        return 1
    if command == "quiet-after":
        t, threshold, hold = float(argv[3]), float(argv[4]), float(argv[5])
        start = None
        for when, rms in data:
            if when <= t:
                continue
            if rms > threshold:
                start = None
                continue
            if start is None:
                start = when
            if when - start >= hold:
                print(f"{start:.3f}")
                return 0
        return 1
    if command == "max":
        t1, t2 = float(argv[3]), float(argv[4])
        inside = [rms for when, rms in data if t1 <= when <= t2]
        print(f"{max(inside, default=0.0):.1f} {len(inside)}")
        return 0
    if command == "last":
        print(f"{data[-1][0]:.3f}" if data else "0")
        return 0
    raise SystemExit(f"levels.py: unknown command {command}")


if __name__ == "__main__":
    sys.exit(main(sys.argv))
