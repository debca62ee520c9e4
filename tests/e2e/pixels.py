#!/usr/bin/env python3
"""Reads pixels of a raw RGB screenshot (what `import -depth 8 rgb:FILE` writes).

usage: pixels.py FILE WIDTH COMMAND ARGS...
  at X Y                        prints "R G B"
  find X Y W H R G B TOL        prints "x y" of the first pixel of the rectangle within TOL of
                                the colour in every channel, or nothing (exit 1)
  count X Y W H R G B TOL       prints how many pixels of the rectangle are within TOL
  warm X Y W H                  prints how many pixels of the rectangle are of fire colours
                                (red clearly above blue): flames, explosion dots
  sig X Y W H                   prints a digest of the rectangle's pixels
  blocky X Y W H                prints how many of each 1000 two-by-two blocks of the rectangle
                                are of one colour: near 1000 for a picture blown up twice
Coordinates are those of the screenshot.
"""
import hashlib
import sys


def main(argv):
    path, width, command = argv[1], int(argv[2]), argv[3]
    args = [int(a) for a in argv[4:]]
    with open(path, "rb") as f:
        data = f.read()
    height = len(data) // (3 * width)

    def pixel(x, y):
        if not (0 <= x < width and 0 <= y < height):
            raise SystemExit(f"pixels.py: ({x},{y}) lies outside the {width}x{height} screenshot")
        i = 3 * (y * width + x)
        return data[i], data[i + 1], data[i + 2]

    def rectangle(x, y, w, h):
        for yy in range(y, y + h):
            for xx in range(x, x + w):
                yield xx, yy, pixel(xx, yy)

    if command == "blocky":
        x, y, w, h = args
        blocks = uniform = 0
        for yy in range(y, y + h - 1, 2):
            for xx in range(x, x + w - 1, 2):
                block = {pixel(xx, yy), pixel(xx + 1, yy), pixel(xx, yy + 1), pixel(xx + 1, yy + 1)}
                blocks += 1
                uniform += len(block) == 1
        print(1000 * uniform // max(blocks, 1))
        return 0
    if command == "at":
        print(*pixel(args[0], args[1]))
        return 0
    if command in ("find", "count"):
        x, y, w, h, r, g, b, tol = args
        hits = 0
        for xx, yy, p in rectangle(x, y, w, h):
            if max(abs(p[0] - r), abs(p[1] - g), abs(p[2] - b)) <= tol:
                if command == "find":
                    print(xx, yy)
                    return 0
                hits += 1
        if command == "count":
            print(hits)
            return 0
        return 1
    if command == "warm":
        print(sum(1 for _, _, p in rectangle(*args) if p[0] >= 180 and p[0] - p[2] >= 100))
        return 0
    if command == "sig":
        digest = hashlib.sha1()
        for _, _, p in rectangle(*args):
            digest.update(bytes(p))
        print(digest.hexdigest())
        return 0
    raise SystemExit(f"pixels.py: unknown command {command}")


if __name__ == "__main__":
    sys.exit(main(sys.argv))
