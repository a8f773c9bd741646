#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets (corpus/<target>/<name>).

Each seed is a small program in the target's input format, aimed at a path
worth starting from: every state code, the wind-down after Esc, the F1
sequence, clock readings at the ends of the int range, the colour cases at
the edges of the hexcone. Run it again after changing an input format.
"""
import math
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# fuzzState: records of op (byte), code (int16), four int32.
GET, SET, SET_WITH_GRAB_BUFFERS, GET_INTEGER, CLOCK = range(5)
CODES = [10, 22, 23, 24, 29, 31, 32, 33, 34, 35, 36, 42,
         200, 201, 202, 203, 204, 205, 207, 208, 210, 211]


def state(op, code=0, *values):
    values = list(values) + [0] * (4 - len(values))
    return struct.pack("<Bh4i", op, code, *values)


write("fuzzState", "every-code-set-then-get",
      b"".join(state(SET, c, 1, 2, 3, 4) + state(GET, c) + state(GET_INTEGER, c) for c in CODES))
write("fuzzState", "refused-codes",
      b"".join(state(op, c, 7, 7, 7, 7) for c in (30, 206, 209, -1, -32768, 32767, 0)
               for op in (GET, SET, GET_INTEGER)))
write("fuzzState", "window-size-releases-buffers",
      state(SET_WITH_GRAB_BUFFERS, 24, 800, 600) + state(SET_WITH_GRAB_BUFFERS, 24, -1, 0x7fffffff)
      + state(GET, 22) + state(GET, 23))
write("fuzzState", "time-step-and-clock",
      state(SET, 42, 0) + state(GET, 42) + state(SET, 42, -1)
      + state(CLOCK, 0, -2**31, -1) + state(CLOCK, 0, 2**31 - 1, 0) + state(CLOCK, 0, 1234, 10))
write("fuzzState", "debug-level-silences-refusals",
      state(SET, 10, 1) + state(SET, 30) + state(SET, 10, -2**31) + state(GET, 206)
      + state(SET, 10, 2) + state(GET_INTEGER, 209))


# fuzzColor: hue, saturation, brightness, alpha as float32 bit patterns.
def colour(h, s, b, a):
    return struct.pack("<4f", h, s, b, a)


inf, nan = math.inf, math.nan
write("fuzzColor", "hexcone-edges", b"".join([
    colour(1.0, 0.5, 1.0, 1.0), colour(0.5, 1.0, 1.0, 1.0), colour(-0.25, 1.0, 1.0, 0.5),
    colour(0.2, 0.8, 0.8, 0.15), colour(0.0, 2.0, 1.0, 1.0), colour(-1e-9, 1.0, 1.0, 1.0),
]))
write("fuzzColor", "not-numbers", b"".join([
    colour(inf, 1.0, 1.0, 1.0), colour(-inf, 0.5, 0.5, 0.5), colour(nan, 1.0, 1.0, 1.0),
    colour(nan, 0.0, 0.3, 0.2), colour(0.3, -0.0, 0.4, 1.0), colour(0.3, nan, nan, nan),
    colour(3.4e38, 1.0, 1.0, 1.0), colour(-3.4e38, 1.0, 1.0, 1.0), colour(1e-45, 1.0, 1.0, 1.0),
]))


# fuzzDispatch: width and height (int16), two window ids, then events of
# kind (byte), window (byte, or 0x80 and an int32), four int32.
DISPLAY, RESHAPE, MOUSE, MOTION, PASSIVE, IDLE, KEY, SPECIAL = range(8)


def window(id_):
    if -2 <= id_ <= 11:
        return struct.pack("<B", id_ + 2)
    return struct.pack("<Bi", 0x80, id_)


def event(kind, win, a=0, b=0, c=0, d=0):
    return struct.pack("<B", kind) + window(win) + struct.pack("<4i", a, b, c, d)


def dispatch(width, height, first, second, events):
    return struct.pack("<hh", width, height) + window(first) + window(second) + b"".join(events)


write("fuzzDispatch", "esc-and-wind-down", dispatch(0, 0, 1, 3, [
    event(DISPLAY, 1), event(RESHAPE, 1, 1024, 768), event(DISPLAY, 1, 5000),
    event(IDLE, 1), event(KEY, 1, ord("a")), event(KEY, 1, 27),
    *[event(IDLE, 1) for _ in range(6)], event(DISPLAY, 1, 6000), event(KEY, 3, 27),
]))
write("fuzzDispatch", "f1-toggles", dispatch(800, 600, 1, 2, [
    event(SPECIAL, 1, 1), event(RESHAPE, 1, 730, 510), event(SPECIAL, 1, 1),
    event(RESHAPE, 1, 800, 600), event(SPECIAL, 1, 1), event(SPECIAL, 2, 1), event(SPECIAL, 1, 2),
]))
write("fuzzDispatch", "mouse-paths", dispatch(1024, 768, 1, 9, [
    event(MOUSE, 1, 0, 0, 0, 0), event(MOTION, 1, 10, 767), event(MOUSE, 1, 0, 1, 10, 767),
    event(MOUSE, 9, 2, 7, -5, 2**31 - 1), event(MOTION, 9, -2**31, -2**31),
    event(PASSIVE, 1, 2**31 - 1, 2**31 - 1), event(RESHAPE, 1, 640, -2**31), event(MOTION, 1, 3, 4),
]))
write("fuzzDispatch", "windows-without-objects", dispatch(1024, 768, 12, -7, [
    event(DISPLAY, 0), event(DISPLAY, 10), event(MOUSE, -1, 0, 0, 1, 1), event(KEY, 2**31 - 1, 27),
    event(SPECIAL, -2**31, 1), event(IDLE, 5), event(RESHAPE, 11, 1, 1), event(MOTION, 100, 1, 1),
]))
write("fuzzDispatch", "clock-at-the-ends", dispatch(1024, 768, 1, 1, [
    event(DISPLAY, 1, 2**31 - 1), event(DISPLAY, 1, -2**31), event(DISPLAY, 1, -1),
    event(RESHAPE, 1, 0, 0), event(DISPLAY, 1, 2**31 - 2),
]))

if __name__ == "__main__":
    sys.exit(0)
