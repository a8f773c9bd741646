#!/usr/bin/env python3
"""End-to-end tests of the real petalDemo executable.

They need an X display with an EWMH window manager; tests/tools/xsession.sh
--wm gives them a private Xvfb display with openbox. Keys are pressed as a
user would: xdotool through XTEST, with the pointer moved over the window
first.

    petalDemoTest.py --exe build/petalDemo/petalDemo [unittest arguments]

e.g. `... --exe ... WindowModeTest` runs one group.
"""

import argparse
import os
import subprocess
import sys
import tempfile
import time
import unittest

EXE = None

# Seconds allowed for the window to appear or to settle after a key.
WINDOW_DEADLINE = 5.0
# Seconds from Esc to the end of the process.
EXIT_DEADLINE = 1.0
# A geometry counts as settled once it has held this long.
SETTLE_TIME = 0.3
POLL = 0.05


def run(*cmd, check=True):
    result = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                            timeout=10, check=False)
    if check and result.returncode != 0:
        raise AssertionError("%s failed (%d): %s" % (" ".join(cmd), result.returncode,
                                                     result.stderr.decode(errors="replace")))
    return result


def wait_until(probe, accept, what, deadline=WINDOW_DEADLINE, settle=0.0):
    """Polls probe() until accept(value) has held for `settle` seconds.

    Returns the last value; fails with the last value seen after `deadline`.
    """
    end = time.monotonic() + deadline
    held_since = None
    value = None
    while True:
        value = probe()
        now = time.monotonic()
        if accept(value):
            held_since = held_since if held_since is not None else now
            if now - held_since >= settle:
                return value
        else:
            held_since = None
        if now > end:
            raise AssertionError("%s: not so within %.1f s; last seen: %r" % (what, deadline, value))
        time.sleep(POLL)


def xwininfo(*args):
    """The fields of xwininfo that the tests read, as ints."""
    fields = {}
    for line in run("xwininfo", *args).stdout.decode().splitlines():
        key, sep, value = line.strip().partition(":")
        if sep and key in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"):
            fields[key] = int(value)
        elif sep and key == "Map State":
            fields[key] = value.strip()
    return fields


def screen_size():
    root = xwininfo("-root")
    return root["Width"], root["Height"]


class Geometry:
    """A client window's place on the screen and its frame's decorations."""

    def __init__(self, window):
        info = xwininfo("-id", window)
        self.x = info["Absolute upper-left X"]
        self.y = info["Absolute upper-left Y"]
        self.width = info["Width"]
        self.height = info["Height"]
        self.viewable = info.get("Map State") == "IsViewable"
        # left, right, top, bottom, as the window manager reports them.
        self.extents = None
        out = run("xprop", "-id", window, "_NET_FRAME_EXTENTS", check=False).stdout.decode()
        if "=" in out:
            self.extents = tuple(int(v) for v in out.split("=", 1)[1].split(","))

    def __repr__(self):
        return "%dx%d at (%d, %d), viewable %s, frame extents %r" % (
            self.width, self.height, self.x, self.y, self.viewable, self.extents)


def fills_screen(g):
    width, height = screen_size()
    return g.viewable and (g.x, g.y, g.width, g.height) == (0, 0, width, height)


def is_default_window(g):
    """Client (screen width - 70) x (screen height - 90) with its frame at (35, 55).

    The window manager may put either the frame or the client at the
    requested place, so the client's origin lies between (35, 55) and that
    point plus the decoration's left and top sizes.
    """
    width, height = screen_size()
    if not g.viewable or (g.width, g.height) != (width - 70, height - 90) or g.extents is None:
        return False
    left, _right, top, _bottom = g.extents
    return 0 <= g.x - 35 <= left and 0 <= g.y - 55 <= top


def read_ppm(data):
    """Width, height and RGB bytes of a binary PPM (P6, maxval 255)."""
    tokens = []
    pos = 0
    while len(tokens) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos) + 1
            continue
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        tokens.append(data[start:pos])
    magic, width, height, maxval = tokens[0], int(tokens[1]), int(tokens[2]), int(tokens[3])
    assert magic == b"P6" and maxval == 255, "unexpected PPM header %r" % tokens
    pixels = data[pos + 1:pos + 1 + width * height * 3]
    assert len(pixels) == width * height * 3, "short PPM data"
    return width, height, pixels


class Demo:
    """One run of the demo, with its output captured to files."""

    def __init__(self, args=()):
        self.stdout = tempfile.TemporaryFile()
        self.stderr = tempfile.TemporaryFile()
        self.proc = subprocess.Popen([EXE, *args], stdin=subprocess.DEVNULL,
                                     stdout=self.stdout, stderr=self.stderr)
        self.window = None

    def find_window(self):
        """Waits for the one window titled "zru" and returns its id."""
        def probe():
            if self.proc.poll() is not None:
                raise AssertionError("the demo ended with status %d before its window appeared"
                                     % self.proc.returncode)
            out = run("xdotool", "search", "--name", "^zru$", check=False).stdout.decode()
            return out.split()
        ids = wait_until(probe, lambda ids: len(ids) == 1, "one window titled 'zru'")
        self.window = ids[0]
        return self.window

    def geometry(self):
        return Geometry(self.window)

    def wait_geometry(self, accept, what):
        return wait_until(self.geometry, accept, what, settle=SETTLE_TIME)

    def press(self, key):
        """Moves the pointer over the window's middle, then presses key there."""
        g = self.geometry()
        run("xdotool", "mousemove", str(g.x + g.width // 2), str(g.y + g.height // 2))
        wait_until(lambda: run("xdotool", "getwindowfocus").stdout.decode().strip(),
                   lambda focus: focus == self.window, "the window has the keyboard focus")
        run("xdotool", "key", key)

    def screenshot(self):
        """The window's pixels as (width, height, RGB bytes)."""
        return read_ppm(run("import", "-window", self.window, "-depth", "8", "ppm:-").stdout)

    def output(self):
        def read(f):
            f.seek(0)
            return f.read().decode(errors="replace")
        return read(self.stdout), read(self.stderr)

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        self.stdout.close()
        self.stderr.close()


class DemoTestCase(unittest.TestCase):
    def start(self, args=()):
        demo = Demo(args)
        self.addCleanup(demo.kill)
        demo.find_window()
        return demo

    def assert_esc_ends_quietly(self, demo):
        """Esc ends the process with status 0 within a second, and the whole
        run wrote nothing."""
        demo.press("Escape")
        pressed = time.monotonic()
        try:
            status = demo.proc.wait(timeout=EXIT_DEADLINE)
        except subprocess.TimeoutExpired:
            self.fail("the demo still runs %.1f s after Esc" % EXIT_DEADLINE)
        self.assertLessEqual(time.monotonic() - pressed, EXIT_DEADLINE)
        self.assertEqual(status, 0, "exit status after Esc")
        stdout, stderr = demo.output()
        self.assertEqual(stderr, "", "standard error of the whole run")
        self.assertEqual(stdout, "", "standard output of the whole run")


class FullScreenTest(DemoTestCase):
    def test_window_titled_zru_fills_the_screen_and_esc_ends_it(self):
        demo = self.start()
        demo.wait_geometry(fills_screen, "the window fills the screen %dx%d" % screen_size())
        self.assert_esc_ends_quietly(demo)

    def test_command_line_arguments_change_nothing(self):
        # Options GLUT would act on if it saw them, and some that nobody knows.
        cases = [
            ["--help", "-geometry", "10x10", "foo"],
            ["-display", "nowhere:99", "-iconic", "-gldebug", "-direct"],
            ["-geometry", "200x100+5+5", "--", "", "zru"],
        ]
        for args in cases:
            with self.subTest(args=args):
                demo = self.start(args)
                demo.wait_geometry(fills_screen, "the window fills the screen %dx%d" % screen_size())
                self.assert_esc_ends_quietly(demo)


class WindowModeTest(DemoTestCase):
    def test_f1_switches_between_full_screen_and_the_default_window(self):
        demo = self.start()
        width, height = screen_size()
        demo.wait_geometry(fills_screen, "at start the window fills the screen")
        window = "a %dx%d window near (35, 55)" % (width - 70, height - 90)
        # Window, full screen, the window again (from the geometry saved at
        # the switch to full screen: the same), and full screen.
        for step in range(4):
            demo.press("F1")
            if step % 2 == 0:
                demo.wait_geometry(is_default_window, "F1 #%d gives %s" % (step + 1, window))
            else:
                demo.wait_geometry(fills_screen, "F1 #%d fills the screen again" % (step + 1))
        self.assert_esc_ends_quietly(demo)

    def test_f1_restores_the_window_as_it_was_at_the_switch_to_full_screen(self):
        demo = self.start()
        width, height = screen_size()
        demo.wait_geometry(fills_screen, "at start the window fills the screen")
        demo.press("F1")
        demo.wait_geometry(is_default_window, "F1 gives the default window")
        # The user resizes and moves the window through the window manager.
        size = (width // 2, height // 2)
        run("xdotool", "windowsize", demo.window, str(size[0]), str(size[1]))
        run("xdotool", "windowmove", demo.window, "200", "150")
        moved = demo.wait_geometry(
            lambda g: (g.width, g.height) == size and g.x >= 200 and g.y >= 150,
            "the window manager resizes the window to %dx%d and moves it to (200, 150)" % size)
        for step in range(2):
            demo.press("F1")
            demo.wait_geometry(fills_screen, "F1 fills the screen")
            demo.press("F1")
            # Back where it was: GLUT may report either the client's or the
            # frame's origin, so allow for the decoration's size.
            demo.wait_geometry(
                lambda g, moved=moved: ((g.width, g.height) == size and g.extents is not None
                                        and abs(g.x - moved.x) <= g.extents[0]
                                        and abs(g.y - moved.y) <= g.extents[2]),
                "F1 #%d restores the %dx%d window near %r" % (2 * step + 3, size[0], size[1], (moved.x, moved.y)))
        # Esc works from a window too.
        self.assert_esc_ends_quietly(demo)


class AnimationTest(DemoTestCase):
    def test_picture_changes_between_screenshots_a_second_apart(self):
        demo = self.start()
        demo.wait_geometry(fills_screen, "the window fills the screen")
        width, height = screen_size()
        first = demo.screenshot()
        time.sleep(1.0)
        second = demo.screenshot()
        for shot in (first, second):
            self.assertEqual(shot[:2], (width, height), "screenshot size")
            self.assertTrue(any(shot[2]), "the screenshot shows nothing but black")
        changed = sum(1 for i in range(0, len(first[2]), 3) if first[2][i:i + 3] != second[2][i:i + 3])
        self.assertGreater(changed, 0, "pixels changed between the two screenshots")
        self.assert_esc_ends_quietly(demo)


def main():
    global EXE
    parser = argparse.ArgumentParser(add_help=False)
    parser.add_argument("--exe", required=True, help="path of the petalDemo executable")
    options, rest = parser.parse_known_args()
    EXE = os.path.abspath(options.exe)
    if not os.environ.get("DISPLAY"):
        sys.exit("petalDemoTest.py: no DISPLAY; run it through tests/tools/xsession.sh --wm")
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
