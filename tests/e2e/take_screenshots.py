#!/usr/bin/python3
"""Regenerates the screenshots in docs/screenshots/ on a private Xvfb server.

Usage: tests/e2e/take_screenshots.py [BUILD_DIR]   (default: build)

main-window.png  the window as it opens
mid-drill.png    after a correct answer at the third question, by mid_drill_shot
rule-window.png  the rule window beside the main window
"""

import pathlib
import subprocess
import sys
import time

from xsession import Xvfb

HERE = pathlib.Path(__file__).resolve().parent
ROOT = HERE.parent.parent
CAPTION = "Перенос слагаемых из одной части уравнения в другую"
MAIN = (706, 487)
RULE = (485, 268)
RULE_BUTTON = (152 + 68, 416 + 16)
GAP = 16
# No timestamps in the files, so that an unchanged look gives unchanged bytes.
PNG_OPTIONS = ["-strip", "-define", "png:exclude-chunks=date,time"]


def save_window(x, wid, path):
    x.run("import", "-window", wid, *PNG_OPTIONS, f"png:{path}")


def main():
    build = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ROOT / "build").resolve()
    subprocess.run(["cmake", "--build", str(build), "--target", "transpose-drill",
                    "mid_drill_shot"], check=True)
    program = build / "app" / "transpose-drill"
    out = ROOT / "docs" / "screenshots"
    out.mkdir(parents=True, exist_ok=True)

    # Tall enough for the main window at its own opening position.
    with Xvfb(width=1280, height=800) as x:
        app = subprocess.Popen([str(program)], env=x.env())
        try:
            main_id = x.find_window(CAPTION, MAIN)
            time.sleep(0.5)  # let the first paint land
            save_window(x, main_id, out / "main-window.png")

            # No window manager here: windows sit where they are put.
            x.run("xdotool", "windowmove", "--sync", main_id, str(GAP), str(GAP))
            x.click(main_id, *RULE_BUTTON)
            rule_id = x.find_window("Правило", RULE)
            x.run("xdotool", "windowmove", "--sync", rule_id, str(2 * GAP + MAIN[0]), str(GAP))
            time.sleep(0.5)
            width = 3 * GAP + MAIN[0] + RULE[0]
            x.run("import", "-window", "root", "-crop", f"{width}x{MAIN[1] + 2 * GAP}+0+0",
                  "+repage", *PNG_OPTIONS, f"png:{out / 'rule-window.png'}")
        finally:
            app.kill()
            app.wait()

        subprocess.run([str(build / "tests" / "e2e" / "mid_drill_shot"), str(out / "mid-drill.png")],
                       env=x.env(), check=True, timeout=30)
    for name in ("main-window.png", "mid-drill.png", "rule-window.png"):
        print(out / name)


if __name__ == "__main__":
    main()
