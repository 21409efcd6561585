#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Regenerates the screenshots in docs/screenshots/ on a private Xvfb server.

Usage: tests/e2e/take_screenshots.py [BUILD_DIR]   (default: build)

main-window.png  the window as it opens
mid-drill.png    after a correct answer at the third question, by mid_drill_shot
rule-window.png  the rule window beside the main window
"""

import pathlib
import subprocess
import sys

HERE = pathlib.Path(__file__).resolve().parent
ROOT = HERE.parent.parent
sys.path.insert(0, str(ROOT / "harness"))  # run by hand, not by CTest
import testdesktop as td  # noqa: E402

GAP = 16
# No timestamps in the files, so that an unchanged look gives unchanged bytes.
PNG_OPTIONS = ["-strip", "-define", "png:exclude-chunks=date,time"]


def save_window(desktop, wid, path):
    desktop.run(["import", "-window", wid, *PNG_OPTIONS, f"png:{path}"])


def main():
    build = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ROOT / "build").resolve()
    subprocess.run(
        [
            "cmake",
            "--build",
            str(build),
            "--target",
            "transpose-drill",
            "mid_drill_shot",
            "drill_facts",
        ],
        check=True,
    )
    program = build / "app" / "transpose-drill"
    facts = td.load_facts(str(build / "form" / "drill_facts"))
    main_size, rule_size = facts.client_size("Form1"), facts.client_size("Form2")
    out = ROOT / "docs" / "screenshots"
    out.mkdir(parents=True, exist_ok=True)

    # Tall enough for the main window at its own opening position.
    with td.Desktop(screen=(1280, 800), time_limit=120) as desktop:
        app = desktop.start([program])
        main_id = desktop.find_window(facts.title, pid=app.pid, size=main_size)
        desktop.settled_shot(main_id)
        save_window(desktop, main_id, out / "main-window.png")

        # No window manager here: windows sit where they are put.
        desktop.run(["xdotool", "windowmove", "--sync", main_id, GAP, GAP])
        desktop.click(main_id, *facts.centre("Form1", "rule"))
        rule_id = desktop.find_window(facts.window("Form2")["caption"], pid=app.pid, size=rule_size)
        desktop.run(["xdotool", "windowmove", "--sync", rule_id, 2 * GAP + main_size[0], GAP])
        desktop.settled_shot(rule_id)
        desktop.settled_shot("root", lambda shot: True, "the move to be drawn")
        width = 3 * GAP + main_size[0] + rule_size[0]
        desktop.run(
            [
                "import",
                "-window",
                "root",
                "-crop",
                f"{width}x{main_size[1] + 2 * GAP}+0+0",
                "+repage",
                *PNG_OPTIONS,
                f"png:{out / 'rule-window.png'}",
            ]
        )
        desktop.stop(app)

        shot = desktop.start([build / "tests" / "e2e" / "mid_drill_shot", out / "mid-drill.png"])
        desktop.expect_exit(shot, after="taking the mid-drill picture")
    for name in ("main-window.png", "mid-drill.png", "rule-window.png"):
        print(out / name)


if __name__ == "__main__":
    main()
