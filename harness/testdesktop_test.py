#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The test desktop itself: it leaves nothing running, keeps the caller's
session out, finds windows by exact title, waits for a settled frame and
enforces its time limit."""

import itertools
import os
import subprocess
import sys
import time
import unittest

import testdesktop as td

HERE = os.path.dirname(os.path.abspath(__file__))


def running(pid):
    try:
        with open(f"/proc/{pid}/stat") as f:
            return f.read().split(") ", 1)[1][0] != "Z"
    except OSError:
        return False


class DesktopTest(unittest.TestCase):
    def test_everything_started_is_stopped(self):
        with td.Desktop(window_manager=True, accessibility=True) as desktop:
            root = os.path.dirname(desktop.home)
            # A daemon that leaves its parent, as a speech server does.
            desktop.run(["sh", "-c", "setsid sleep 300 >/dev/null 2>&1 &"])
            daemons = td.wait_for("the daemon", desktop.leftovers)
            self.assertEqual(os.environ["DISPLAY"], desktop.display)
        self.assertEqual([pid for pid in daemons if running(pid)], [])
        self.assertFalse(os.path.exists(root))
        self.assertNotIn("TESTDESKTOP_ID", os.environ)

    def test_the_callers_session_stays_out(self):
        os.environ["WAYLAND_DISPLAY"] = "wayland-9"
        try:
            with td.Desktop() as desktop:
                env = desktop.run(["env"]).stdout.splitlines()
        finally:
            del os.environ["WAYLAND_DISPLAY"]
        self.assertNotIn("WAYLAND_DISPLAY=wayland-9", env)
        self.assertIn(f"HOME={desktop.home}", env)
        self.assertIn(f"DISPLAY={desktop.display}", env)

    def test_window_titles_match_exactly(self):
        title = "a (b) [c] x+y. z"
        with td.Desktop() as desktop:
            # xmessage names its window after -title.
            app = desktop.start(["xmessage", "-title", title, "hello"])
            self.assertTrue(desktop.find_window(title, timeout=10))
            desktop.stop(app)
            with self.assertRaises(AssertionError):
                desktop.find_window("a (b) [c] x+y", timeout=0.5)

    def test_a_settled_shot_is_two_alike_with_all_drawn(self):
        blank, part, whole, later = (
            td.Image(2, 1, bytes(p)) for p in ([0] * 6, [9, 9, 9, 0, 0, 0], [9] * 6, [7] * 6)
        )

        def no_black(shot):
            return 0 not in shot.data

        desktop = td.Desktop()
        for frames, drawn, expected in [
            # Alike but not drawn whole: not yet.
            ([blank, blank, part, part, whole, whole], no_black, whole),
            # By default, drawn once no corner is black, as before the first paint.
            ([blank, blank, whole, whole], None, whole),
            # Drawn whole, then painted again: the frame it comes to rest at.
            ([whole, later, later], no_black, later),
            # Never at rest: none.
            (itertools.cycle([whole, later]), no_black, None),
        ]:
            shots = iter(frames)
            desktop.shot = lambda wid: next(shots)
            if expected is None:
                with self.assertRaises(AssertionError):
                    desktop.settled_shot("0x1", drawn, timeout=1)
            else:
                self.assertIs(desktop.settled_shot("0x1", drawn, timeout=5), expected)

    def test_a_key_held_long_comes_once(self):
        with td.Desktop() as desktop:
            events = os.path.join(desktop.tmp, "events")
            with open(events, "w") as out:
                desktop.start(["xev", "-event", "keyboard"], stdout=out)
            desktop.activate(desktop.find_window("Event Tester"))
            # Held past the repeat delay, as a busy machine may hold xdotool's key.
            desktop.run(["xdotool", "keydown", "a", "sleep", "1.5", "keyup", "a"])
            td.wait_for("the release", lambda: "KeyRelease" in open(events).read())
            self.assertEqual(open(events).read().count("KeyPress"), 1)

    def test_time_limit(self):
        started = time.monotonic()
        with self.assertRaises(td.TimeLimit):
            with td.Desktop(time_limit=1):
                time.sleep(60)
        # Cut short, with room for a busy machine's start and teardown.
        self.assertLess(time.monotonic() - started, 30)

    def test_command_line_runs_a_command_inside(self):
        result = subprocess.run(
            [
                sys.executable,
                os.path.join(HERE, "testdesktop.py"),
                "--",
                "sh",
                "-c",
                'xdpyinfo -display "$DISPLAY" >/dev/null && exit 3',
            ],
            capture_output=True,
            timeout=30,
        )
        self.assertEqual(result.returncode, 3, result.stderr)


if __name__ == "__main__":
    unittest.main()
