#!/usr/bin/env python3
"""Reads the pixels of an X screen for the end-to-end tests. One process serves a whole test:
it reads one request a line from its standard input and answers each with one line on its
standard output, so a test may look at the screen every few milliseconds.

usage: pixels.py WIDTH HEIGHT RAW_FILE
  snap DISPLAY                  takes a screenshot of the display's root window; "ok", or
                                "error: ..." when the display cannot be read
  save                          writes the last screenshot to RAW_FILE as raw RGB, for
                                `convert -size WIDTHxHEIGHT -depth 8 rgb:RAW_FILE`; "ok"
  at X Y                        "R G B"
  count X Y W H R G B TOL       how many pixels of the rectangle are within TOL of the
                                colour in every channel
  warm X Y W H                  how many pixels of the rectangle are of fire colours (red
                                clearly above blue): flames, explosion dots
  sig X Y W H                   a digest of the rectangle's pixels
  blocky X Y W H                how many of each 1000 two-by-two blocks of the rectangle are
                                of one colour: near 1000 for a picture blown up twice
Coordinates are those of the screen; the others read the last screenshot.
"""
import ctypes
import ctypes.util
import hashlib
import sys

ALL_PLANES = 0xFFFFFFFF
Z_PIXMAP = 2


class XImage(ctypes.Structure):
    # The leading fields of Xlib's XImage, as far as they are read here.
    _fields_ = [
        ("width", ctypes.c_int),
        ("height", ctypes.c_int),
        ("xoffset", ctypes.c_int),
        ("format", ctypes.c_int),
        ("data", ctypes.c_void_p),
        ("byte_order", ctypes.c_int),
        ("bitmap_unit", ctypes.c_int),
        ("bitmap_bit_order", ctypes.c_int),
        ("bitmap_pad", ctypes.c_int),
        ("depth", ctypes.c_int),
        ("bytes_per_line", ctypes.c_int),
        ("bits_per_pixel", ctypes.c_int),
    ]


def xlib():
    x = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XDefaultRootWindow.restype = ctypes.c_ulong
    x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x.XGetImage.restype = ctypes.POINTER(XImage)
    x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                            ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
    x.XDestroyImage.argtypes = [ctypes.POINTER(XImage)]
    x.XCloseDisplay.argtypes = [ctypes.c_void_p]
    return x


class Screen:
    def __init__(self, width, height):
        self.width, self.height = width, height
        self.x = xlib()
        self.data = b""
        self.stride = 0

    def snap(self, display):
        # A connection for each screenshot: a test may replace its X server on the way.
        d = self.x.XOpenDisplay(display.encode())
        if not d:
            return f"error: the display {display} cannot be opened"
        try:
            image = self.x.XGetImage(d, self.x.XDefaultRootWindow(d), 0, 0, self.width,
                                     self.height, ALL_PLANES, Z_PIXMAP)
            if not image:
                return f"error: no picture of the display {display}"
            try:
                i = image.contents
                if i.bits_per_pixel != 32 or i.byte_order != 0:
                    return f"error: {i.bits_per_pixel} bits a pixel, byte order {i.byte_order}"
                self.stride = i.bytes_per_line
                self.data = ctypes.string_at(i.data, i.bytes_per_line * i.height)
            finally:
                self.x.XDestroyImage(image)
        finally:
            self.x.XCloseDisplay(d)
        return "ok"

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise ValueError(f"({x},{y}) lies outside the {self.width}x{self.height} screen")
        i = y * self.stride + 4 * x  # blue, green, red, unused
        return self.data[i + 2], self.data[i + 1], self.data[i]

    def rectangle(self, x, y, w, h):
        for yy in range(y, y + h):
            for xx in range(x, x + w):
                yield self.pixel(xx, yy)

    def rgb(self):
        out = bytearray(self.width * self.height * 3)
        row = self.width * 3
        for y in range(self.height):
            line = self.data[y * self.stride:y * self.stride + 4 * self.width]
            out[y * row:(y + 1) * row:3] = line[2::4]
            out[y * row + 1:(y + 1) * row:3] = line[1::4]
            out[y * row + 2:(y + 1) * row:3] = line[0::4]
        return out


def answer(screen, raw_file, words):
    command, args = words[0], words[1:]
    if command == "snap":
        return screen.snap(args[0])
    if not screen.data:
        return "error: no screenshot taken yet"
    if command == "save":
        with open(raw_file, "wb") as f:
            f.write(screen.rgb())
        return "ok"
    n = [int(a) for a in args]
    if command == "at":
        return "%d %d %d" % screen.pixel(n[0], n[1])
    if command == "count":
        x, y, w, h, r, g, b, tol = n
        return str(sum(1 for p in screen.rectangle(x, y, w, h)
                       if max(abs(p[0] - r), abs(p[1] - g), abs(p[2] - b)) <= tol))
    if command == "warm":
        return str(sum(1 for p in screen.rectangle(*n) if p[0] >= 180 and p[0] - p[2] >= 100))
    if command == "sig":
        x, y, w, h = n
        screen.pixel(x, y)
        screen.pixel(x + w - 1, y + h - 1)
        digest = hashlib.sha1()
        for yy in range(y, y + h):
            digest.update(screen.data[yy * screen.stride + 4 * x:yy * screen.stride + 4 * (x + w)])
        return digest.hexdigest()
    if command == "blocky":
        x, y, w, h = n
        blocks = uniform = 0
        for yy in range(y, y + h - 1, 2):
            for xx in range(x, x + w - 1, 2):
                block = {screen.pixel(xx, yy), screen.pixel(xx + 1, yy),
                         screen.pixel(xx, yy + 1), screen.pixel(xx + 1, yy + 1)}
                blocks += 1
                uniform += len(block) == 1
        return str(1000 * uniform // max(blocks, 1))
    return f"error: unknown request {command}"


def main(argv):
    screen = Screen(int(argv[1]), int(argv[2]))
    for line in sys.stdin:
        words = line.split()
        if not words:
            continue
        try:
            reply = answer(screen, argv[3], words)
        except (ValueError, IndexError) as e:
            reply = f"error: {' '.join(words)}: {e}"
        print(reply, flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
