#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The real program on an X server at Qt scale factors 1.5 and 2: its window covers
1.5 and 2 times its pixels, and at 2 the part of the background above the controls
is the double-size picture pixel for pixel, so it is drawn sharp.

usage: xvfb_scale_test.py PROGRAM BACKGROUND@2X [--save PNG]
  --save keeps the 2x screenshot of the window as it opens.
"""

import argparse
import os
import shutil
import tempfile

import testdesktop as td

FACTS = td.load_facts()
LOGICAL = FACTS.client_size("Form1")
# The window's top band, above the first row of controls.
BAND_HEIGHT = min(c["box"][1] for c in FACTS.window("Form1")["controls"])


def differing_pixels(desktop, shot, picture, width, height, workdir):
    """How many pixels of the band differ between the screenshot and the picture."""
    crop = f"{width}x{height}+0+0"
    a = os.path.join(workdir, "band-shot.png")
    b = os.path.join(workdir, "band-picture.png")
    for source, target in ((shot, a), (picture, b)):
        desktop.run(["convert", source, "-crop", crop, "+repage", target])
    # compare prints the count on stderr and exits 1 when images differ.
    result = desktop.run(["compare", "-metric", "AE", a, b, "null:"], check=False)
    if result.returncode not in (0, 1):
        raise AssertionError(f"compare failed: {result.stderr}")
    return int(float(result.stderr.split()[0]))


def check(program, picture, factor, save):
    with td.Desktop(screen=(2560, 1600)) as desktop:
        proc = desktop.start([program], env={"QT_SCALE_FACTOR": str(factor)})
        window = desktop.find_window(FACTS.title, pid=proc.pid)
        expected = tuple(round(n * factor) for n in LOGICAL)

        def scaled():
            # Qt may round a half pixel either way.
            size = desktop.window_size(window)
            return (
                size if all(abs(got - n * factor) <= 0.5 for got, n in zip(size, LOGICAL)) else None
            )

        try:
            size = td.wait_for("the scaled size", scaled)
        except AssertionError:
            raise AssertionError(
                f"at {factor} the window is {desktop.window_size(window)}, "
                f"expected about {expected}"
            ) from None
        print(f"scale {factor}: window {size[0]}x{size[1]} device pixels")

        if factor == 2:
            with tempfile.TemporaryDirectory() as workdir:
                shot = os.path.join(workdir, "window.png")
                total = size[0] * BAND_HEIGHT * 2
                differ = None

                def painted():
                    # Until the first paint lands the band is not the picture yet.
                    nonlocal differ
                    desktop.run(["import", "-window", window, shot])
                    differ = differing_pixels(
                        desktop, shot, picture, size[0], BAND_HEIGHT * 2, workdir
                    )
                    return differ == 0

                try:
                    td.wait_for(
                        "the band painted from the double-size picture",
                        painted,
                        interval=0.2,
                    )
                except AssertionError:
                    raise AssertionError(
                        f"{differ} of {total} band pixels differ from the " "double-size picture"
                    ) from None
                print(f"scale 2: no band pixel of {total} differs from {picture}")
                if save:
                    shutil.copyfile(shot, save)
                    print("saved", save)
        desktop.stop(proc)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("picture")
    parser.add_argument("--save")
    args = parser.parse_args()
    for factor in (1.5, 2):
        check(args.program, args.picture, factor, args.save)
    print("PASS")


if __name__ == "__main__":
    td.run_with_time_limit(300, main)
