#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Starts the installed program on a private X server, checks that its window's
class is the menu entry's StartupWMClass (else docks show the running program
as a second, unrelated entry), and closes it with its exit button.

usage: installed_run.py PROGRAM DESKTOP_FILE
"""

import sys

import testdesktop as td


def startup_wm_class(desktop_file):
    with open(desktop_file, encoding="utf-8") as f:
        for line in f:
            if line.startswith("StartupWMClass="):
                return line.split("=", 1)[1].strip()
    return None


def main(program, desktop_file):
    facts = td.load_facts()
    with td.Desktop(time_limit=2 * td.PATIENCE) as desktop:
        app = desktop.start([program], stdout=None, stderr=None)
        wid = desktop.find_window(facts.title, pid=app.pid, size=facts.client_size("Form1"))
        # WM_CLASS(STRING) = "instance", "class"
        wm_class = desktop.run(["xprop", "-id", wid, "WM_CLASS"]).stdout.split("=", 1)[-1]
        wm_class = wm_class.strip().split(", ")[-1].strip('"')
        wanted = startup_wm_class(desktop_file)
        assert (
            wm_class and wm_class == wanted
        ), f"window class {wm_class!r} differs from the menu entry's StartupWMClass {wanted!r}"
        desktop.click(wid, *facts.centre("Form1", "quit"))
        desktop.expect_exit(app, after="clicking the exit button")
    print("installed program started, showed its window and exited with status 0")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
