#!/usr/bin/python3
"""The real program on a real X server: the window opens under its caption, a
mouse click on the start button poses the first question, and the exit
button ends the program cleanly.

Usage: main_window_e2e.py PROGRAM BACKGROUND_PICTURE
"""

import signal
import subprocess
import sys
import time

from xsession import Image, Xvfb

CAPTION = "Перенос слагаемых из одной части уравнения в другую"
CLIENT = (706, 487)
START = (312, 80, 113, 33)  # the start button before it moves away
EXIT = (440, 416, 129, 33)
PROBLEM = (200, 208, 305, 41)
FIELD = (192, 255, 255)
# The picture is decoded here by another JPEG decoder than the program's.
DECODER_SLACK = 8


def centre(rect):
    return rect[0] + rect[2] // 2, rect[1] + rect[3] // 2


def close(a, b, slack):
    return all(abs(p - q) <= slack for p, q in zip(a, b))


def fail(message):
    print("FAIL:", message)
    sys.exit(1)


def wait_for(condition, what, timeout=5.0):
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            fail(f"{what} (waited {timeout} s)")
        time.sleep(0.05)


def main():
    program, picture_path = sys.argv[1], sys.argv[2]
    picture = Image.load(picture_path)
    start_picture = picture.region(*START)

    def shows_picture(shot):
        return all(close(a, b, DECODER_SLACK) for a, b in zip(shot.region(*START), start_picture))

    with Xvfb() as x:
        app = subprocess.Popen([program], env=x.env(), stdout=subprocess.PIPE,
                               stderr=subprocess.STDOUT)
        try:
            wid = x.find_window(CAPTION, CLIENT)
            print("window", wid, "on display", x.display)

            # Painted, with the start button covering its part of the picture.
            before = wait_for(lambda: (lambda s: s if not shows_picture(s) else None)(x.shot(wid)),
                              "the start button was never drawn")
            if any(p != FIELD for p in before.region(*PROBLEM)):
                fail("the problem line is not blank before the start")

            x.click(wid, *centre(START))
            after = wait_for(lambda: (lambda s: s if shows_picture(s) else None)(x.shot(wid)),
                             "the start button's area did not clear to the picture")
            inked = sum(1 for p in after.region(*PROBLEM) if not close(p, FIELD, 40))
            if inked < 50:
                fail(f"no problem shown after the start ({inked} text pixels)")
            print(f"after the start: button area shows the picture, problem line has {inked} "
                  "text pixels")

            x.click(wid, *centre(EXIT))
            try:
                status = app.wait(2)
            except subprocess.TimeoutExpired:
                fail("the program was still running 2 s after the exit button")
            output = app.stdout.read().decode(errors="replace")
            if status != 0:
                fail(f"the program exited with status {status}:\n{output}")
            print("exit status 0")
        finally:
            if app.poll() is None:
                app.send_signal(signal.SIGKILL)
                app.wait()


if __name__ == "__main__":
    main()
