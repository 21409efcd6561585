#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The real program under a dark desktop colour scheme (the toolkit's own KDE
theme reading a dark kdeglobals): captions and texts stay dark on the light
fields. A bare toolkit window beside it proves the scheme took effect.

Usage: dark_scheme_e2e.py PROGRAM BARE_WINDOW [SCREENSHOT.png]
"""

import os
import sys

import testdesktop as td

# The colours of a dark scheme as the desktop writes them: light text on grey.
KDEGLOBALS = """\
[General]
ColorScheme=BreezeDark

[Colors:Button]
BackgroundNormal=49,54,59
ForegroundInactive=161,169,177
ForegroundNormal=252,252,252

[Colors:Selection]
BackgroundNormal=61,174,233
ForegroundNormal=252,252,252

[Colors:Tooltip]
BackgroundNormal=49,54,59
ForegroundNormal=252,252,252

[Colors:View]
BackgroundNormal=27,30,32
ForegroundInactive=161,169,177
ForegroundLink=29,153,243
ForegroundNormal=252,252,252
ForegroundVisited=155,89,182

[Colors:Window]
BackgroundNormal=42,46,50
ForegroundInactive=161,169,177
ForegroundNormal=252,252,252
"""
KDE = {"XDG_CURRENT_DESKTOP": "KDE", "KDE_SESSION_VERSION": "5"}
DARK = 80  # luminance at most this: text ink; at least 200: a light field


def luminance(pixel):
    r, g, b = pixel
    return (299 * r + 587 * g + 114 * b) // 1000


def inside(shot, box, inset=4):
    """The luminances inside a control, clear of its frame."""
    left, top, width, height = box
    return [
        luminance(p)
        for p in shot.region(left + inset, top + inset, width - 2 * inset, height - 2 * inset)
    ]


def check(desktop, facts, wid, form, names):
    boxes = [facts.control(form, name)["box"] for name in names]
    # Painted: its corner light, and something light (field or text) in each
    # control, black all over before the first paint.
    shot = desktop.settled_shot(
        wid,
        lambda s: luminance(s.pixel(2, 2)) >= 200 and all(max(inside(s, b)) >= 200 for b in boxes),
        f"{form} to be painted",
    )
    for name in names:
        ink = min(inside(shot, facts.control(form, name)["box"]))
        print(f"{form}.{name}: darkest pixel luminance {ink}")
        assert ink <= DARK, f"{form}.{name}: no dark text (darkest luminance {ink})"


def main(program, bare_window, screenshot=None):
    facts = td.load_facts()
    with td.Desktop(
        screen=(1280, 1024), window_manager=True, time_limit=4 * td.PATIENCE
    ) as desktop:
        config = desktop.env["XDG_CONFIG_HOME"]
        os.makedirs(config, exist_ok=True)
        with open(os.path.join(config, "kdeglobals"), "w", encoding="utf-8") as f:
            f.write(KDEGLOBALS)

        bare = desktop.start([bare_window], env=KDE)
        bare_wid = desktop.find_window("Baseline window", pid=bare.pid)
        # Painted: its corners and middle no longer black, as before the first paint.
        bare_shot = desktop.settled_shot(
            bare_wid,
            lambda s: (0, 0, 0)
            not in [
                s.pixel(x, y) for x in (0, s.width // 2, s.width - 1) for y in (0, s.height - 5)
            ],
            "the bare window to be painted",
        )
        background = luminance(bare_shot.pixel(bare_shot.width // 2, bare_shot.height - 5))
        assert (
            background <= DARK
        ), f"the dark scheme did not reach a bare window (background luminance {background})"
        print(f"bare window background luminance {background}: the dark scheme is in effect")

        app = desktop.start([program], env=KDE)
        wid = desktop.find_window(facts.title, pid=app.pid, size=facts.client_size("Form1"))
        # Each text whose colour the design leaves to the system, and a designed one;
        # the main window is shot before the rule window covers it.
        check(
            desktop,
            facts,
            wid,
            "Form1",
            ("accept", "quit", "next", "start", "rule", "Label3", "Label6"),
        )
        desktop.click(wid, *facts.centre("Form1", "rule"))
        rule = desktop.find_window(
            facts.window("Form2")["caption"], pid=app.pid, size=facts.client_size("Form2")
        )
        check(desktop, facts, rule, "Form2", ("Label1", "Label4"))

        # A message box ("Ещё пример" with the answer box not empty) is light too;
        # the rule window is moved off the button first.
        desktop.run(["xdotool", "windowmove", rule, "760", "600"])
        desktop.click(wid, *facts.centre("Form1", "next"))

        def message_box():
            found = desktop.run(
                ["xdotool", "search", "--onlyvisible", "--pid", str(app.pid)], check=False
            ).stdout.split()
            others = [w for w in found if w not in (wid, rule)]
            return others[0] if len(others) == 1 else None

        box = td.wait_for("the message box", message_box)
        # Painted once its middle row holds its text, not one flat colour.
        box_shot = desktop.settled_shot(
            box,
            lambda s: len(set(s.region(0, s.height // 2, s.width, 1))) > 1,
            "the message box to be painted",
        )
        field = luminance(box_shot.pixel(3, box_shot.height - 3))
        ink = min(luminance(p) for p in box_shot.region(0, 0, box_shot.width, box_shot.height))
        print(f"message box: field luminance {field}, darkest pixel luminance {ink}")
        assert field >= 200 and ink <= DARK, "the message box is not dark text on light"
        if screenshot:
            desktop.run(["import", "-window", "root", screenshot])
            print("screenshot:", screenshot)
        desktop.activate(box)
        desktop.key("Return")
        td.wait_for("the message box to close", lambda: message_box() is None)
    print("PASS")


if __name__ == "__main__":
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    main(*sys.argv[1:])
