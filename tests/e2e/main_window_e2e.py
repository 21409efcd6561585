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


def main(program, picture_path):
    facts = td.load_facts()
    start = facts.control("Form1", "start")["box"]  # before it moves away
    problem = facts.control("Form1", "problem")["box"]
    start_picture = td.Image.load(picture_path).region(*start)

    def shows_picture(shot):
        return all(close(a, b, DECODER_SLACK) for a, b in zip(shot.region(*start), start_picture))

    with td.Desktop(screen=(1024, 768), time_limit=50) as desktop:
        app = desktop.start([program])
        wid = desktop.find_window(facts.title, pid=app.pid, size=facts.client_size("Form1"))
        print("window", wid, "on display", desktop.display)

        # Painted, with the start button covering its part of the picture.
        before = td.wait_for(
            "the start button to be drawn",
            lambda: (lambda s: s if not shows_picture(s) else None)(desktop.shot(wid)),
            timeout=5,
        )
        assert all(
            p == FIELD for p in before.region(*problem)
        ), "the problem line is not blank before the start"

        desktop.click(wid, *facts.centre("Form1", "start"))
        after = td.wait_for(
            "the start button's area to clear to the picture",
            lambda: (lambda s: s if shows_picture(s) else None)(desktop.shot(wid)),
            timeout=5,
        )
        inked = sum(1 for p in after.region(*problem) if not close(p, FIELD, 40))
        assert inked >= 50, f"no problem shown after the start ({inked} text pixels)"
        print(
            f"after the start: button area shows the picture, problem line has {inked} "
            "text pixels"
        )

        desktop.click(wid, *facts.centre("Form1", "quit"))
        desktop.expect_exit(app, after="the exit button", timeout=2)
        print("exit status 0")
    print("PASS")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
