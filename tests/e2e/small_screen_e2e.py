#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Both windows open whole on small screens, under a real window manager (also
one started after the program), and exactly where designed on a screen that
has room.

Usage: small_screen_e2e.py PROGRAM
"""

import re
import sys

import testdesktop as td

# (screen, the main window must be at its designed place, the window manager
# starts after the window is shown)
SCREENS = [
    ((800, 600), False, False),
    ((800, 600), False, True),
    ((1024, 600), False, False),
    ((1280, 1024), True, False),
]


def client_corner(desktop, wid):
    out = desktop.run(["xwininfo", "-id", wid]).stdout
    return (
        int(re.search(r"Absolute upper-left X:\s+(-?\d+)", out).group(1)),
        int(re.search(r"Absolute upper-left Y:\s+(-?\d+)", out).group(1)),
    )


def frame_extents(desktop, wid):
    """(left, right, top, bottom) the window manager put around the client."""
    out = desktop.run(["xprop", "-id", wid, "_NET_FRAME_EXTENTS"], check=False).stdout
    found = re.search(r"= (\d+), (\d+), (\d+), (\d+)", out)
    return tuple(int(n) for n in found.groups()) if found else None


def settled_frame(desktop, wid):
    """The client corner and frame once the window manager has framed the window
    and the program has stopped moving it."""
    seen = []

    def still():
        seen.append((client_corner(desktop, wid), frame_extents(desktop, wid)))
        return seen[-1][1] is not None and len(seen) >= 4 and len(set(seen[-4:])) == 1

    td.wait_for("the window to come to rest in its frame", still, interval=0.1)
    return seen[-1]


def check_on_screen(what, screen, corner, size, extents):
    left, right, top, bottom = extents
    frame = (corner[0] - left, corner[1] - top, size[0] + left + right, size[1] + top + bottom)
    print(f"{what} on {screen[0]}x{screen[1]}: client at {corner}, frame {frame}")
    assert frame[0] >= 0 and frame[1] >= 0, f"{what}: frame starts off the screen: {frame}"
    assert (
        frame[0] + frame[2] <= screen[0] and frame[1] + frame[3] <= screen[1]
    ), f"{what}: frame ends off the screen: {frame}"


def main(program):
    facts = td.load_facts()
    main_window, rule_window = facts.window("Form1"), facts.window("Form2")
    for screen, at_design, late_manager in SCREENS:
        with td.Desktop(
            screen=screen, window_manager=not late_manager, time_limit=4 * td.PATIENCE
        ) as desktop:
            app = desktop.start([program])
            wid = desktop.find_window(facts.title, pid=app.pid, size=facts.client_size("Form1"))
            if late_manager:
                desktop.start_window_manager()
            corner, extents = settled_frame(desktop, wid)
            check_on_screen("main window", screen, corner, facts.client_size("Form1"), extents)
            if at_design:
                assert corner == tuple(
                    main_window["client"][:2]
                ), f"main window at {corner}, designed {main_window['client'][:2]}"

            if screen == (800, 600):
                desktop.click(wid, *facts.centre("Form1", "rule"))
                rule = desktop.find_window(
                    rule_window["caption"],
                    pid=app.pid,
                    size=facts.client_size("Form2"),
                )
                corner, extents = settled_frame(desktop, rule)
                check_on_screen("rule window", screen, corner, facts.client_size("Form2"), extents)
                # It has room there: it stays where designed.
                assert corner == tuple(
                    rule_window["client"][:2]
                ), f"rule window at {corner}, designed {rule_window['client'][:2]}"
    print("PASS")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
