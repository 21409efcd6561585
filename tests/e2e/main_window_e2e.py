#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The real program on a real X server: the window opens under its caption, a
mouse click on the start button poses the first question, and the exit
button ends the program cleanly.

Usage: main_window_e2e.py PROGRAM BACKGROUND_PICTURE
"""

import sys

import testdesktop as td

FIELD = (192, 255, 255)
# The picture is decoded here by another JPEG decoder than the program's.
DECODER_SLACK = 8


def close(a, b, slack):
    return all(abs(p - q) <= slack for p, q in zip(a, b))


def bare_points(facts, step=8):
    """Points of the main window, one in step each way, that no control covers."""
    width, height = facts.client_size("Form1")
    boxes = [c["box"] for c in facts.window("Form1")["controls"]]
    return [
        (x, y)
        for y in range(0, height, step)
        for x in range(0, width, step)
        if not any(left <= x < left + w and top <= y < top + h for left, top, w, h in boxes)
    ]


def main(program, picture_path):
    facts = td.load_facts()
    start = facts.control("Form1", "start")["box"]  # before it moves away
    problem = facts.control("Form1", "problem")["box"]
    picture = td.Image.load(picture_path)
    start_picture = picture.region(*start)
    bare = bare_points(facts)

    def shows_picture(shot):
        return all(close(a, b, DECODER_SLACK) for a, b in zip(shot.region(*start), start_picture))

    def drawn(shot):
        """The picture shows wherever no control covers it."""
        return all(close(shot.pixel(*p), picture.pixel(*p), DECODER_SLACK) for p in bare)

    with td.Desktop(screen=(1024, 768), time_limit=3 * td.PATIENCE) as desktop:
        app = desktop.start([program])
        wid = desktop.find_window(facts.title, pid=app.pid, size=facts.client_size("Form1"))
        print("window", wid, "on display", desktop.display, f"({len(bare)} bare points)")

        # Painted, with the start button covering its part of the picture.
        before = desktop.settled_shot(
            wid,
            lambda s: drawn(s) and not shows_picture(s),
            "the window to be drawn, the start button on it",
        )
        assert all(
            p == FIELD for p in before.region(*problem)
        ), "the problem line is not blank before the start"

        desktop.click(wid, *facts.centre("Form1", "start"))
        after = desktop.settled_shot(
            wid,
            lambda s: drawn(s) and shows_picture(s),
            "the start button's area to clear to the picture",
        )
        inked = sum(1 for p in after.region(*problem) if not close(p, FIELD, 40))
        assert inked >= 50, f"no problem shown after the start ({inked} text pixels)"
        print(
            f"after the start: button area shows the picture, problem line has {inked} "
            "text pixels"
        )

        desktop.click(wid, *facts.centre("Form1", "quit"))
        desktop.expect_exit(app, after="the exit button")
        print("exit status 0")
    print("PASS")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
