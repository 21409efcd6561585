#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""What the real screen reader (Orca) says while one question is played with the
keyboard alone: the new equation and its number after "Начало", the verdict
after "Принять ответ", nothing misleading after a second answer, the next
equation after "Ещё пример", each once and without the focus moving, the
verdict on coming back to its button, and a second answer typed after Shift+Tab
back into the box reaching it (no key taken for a browse-mode command); and, in
the page, a message box's text when it opens, once. One table of runs: the
program, and the browser page in Chromium and in Firefox.

Orca runs with speech and braille off; its debug output still carries every
utterance as a "SPEECH OUTPUT: '...'" line, which is read as it is written.

usage: orca_speech_test.py PROGRAM
       orca_speech_test.py --page chromium|firefox PAGE.html
"""

import json
import os
import pathlib
import re
import shutil
import subprocess
import sys
import threading
import time
import tty

import atspi_tree as atspi
import testdesktop as td

FACTS = td.load_facts()
NAME = {role: FACTS.control("main", role)["accessibleName"] for role in FACTS.roles}
CORRECT, WRONG = FACTS.announcements["correct"], FACTS.announcements["wrong"]
QUESTION = FACTS.announcements["question"].split("{")[0]  # "Вопрос "
WRONG_ANSWER = "x=1"
# What Orca says after a key it may say in parts: the silence that ends it.
QUIET = 1.0
# Orca logs what it says as SPEECH OUTPUT: 'text' followed by the voice; its
# echo of a key or a typed character has a blank before the voice.
UTTERANCE = re.compile(r"SPEECH OUTPUT: '(.*)'( ?)\{.*\}\s*$")
# Orca taking up a caret move: "Dequeued object:text-caret-moved [role | name] (offset,...".
CARET_MOVED = re.compile(r"Dequeued object:text-caret-moved \[[^]|]* \| (.*)\] \((\d+),")
# Its state after each key in a page: in browse mode a typed key is a command.
BROWSING = "INPUT EVENT: _inFocusMode: False"
# Typing over the box's selected text deletes it. Orca takes a deletion for the
# typing's own when the latest key is an unshifted printable one; the browser
# may tell of it some keys late, and a shifted key then ("+" is Shift+=) makes
# Orca say so. True, and no command: heard only where the text was selected.
SELECTION_DELETED = "Selection deleted"


# Each run: how it is started in the desktop (given the desktop and the file)
# and the name under which Orca takes it up.
RUNS = {
    "program": (lambda desktop, path: [path], "transpose-drill"),
    "chromium": (
        lambda desktop, path: [
            "chromium",
            "--no-sandbox",
            "--force-renderer-accessibility",
            "--no-first-run",
            "--disable-gpu",
            "--disable-background-networking",
            "--disable-component-update",
            "--disable-sync",
            "--password-store=basic",
            f"--user-data-dir={desktop.tmp}/chromium",
            pathlib.Path(path).as_uri(),
        ],
        "Chromium",
    ),
    "firefox": (lambda desktop, path: firefox(desktop.tmp, path), "Firefox"),
}


# A fresh profile's pages and notices of a first start: its welcome and privacy
# tabs and its preloaded new tab, which may take the focus from the page as
# they load, and its notice about the data it sends, an alert a minute in that
# Orca reads out.
FIRST_START_OFF = {
    "datareporting.policy.dataSubmissionPolicyBypassNotification": True,
    "datareporting.policy.firstRunURL": "",
    "browser.startup.homepage_override.mstone": "ignore",
    "startup.homepage_welcome_url": "",
    "startup.homepage_welcome_url.additional": "",
    "browser.aboutwelcome.enabled": False,
    "browser.newtab.preload": False,
}


def firefox(profile, path):
    """Firefox on a fresh profile in the desktop's scratch folder, without its
    first start's pages and notices."""
    with open(os.path.join(profile, "user.js"), "w") as f:
        for name, value in FIRST_START_OFF.items():
            f.write(f"user_pref({json.dumps(name)}, {json.dumps(value)});\n")
    return [
        "firefox-esr",
        "--no-remote",
        "--new-instance",
        "--profile",
        profile,
        pathlib.Path(path).as_uri(),
    ]


class Orca:
    """Orca on the desktop, its utterances collected as it writes them."""

    def __init__(self, desktop, speech_off=True):
        # A terminal as the debug file: Python line-buffers a terminal, so each
        # line arrives when written, not when a block fills.
        self._master, self._slave = os.openpty()
        tty.setraw(self._slave)
        self.log_path = os.path.join(desktop.tmp, "orca-debug.log")
        self.lines = []
        self._lock = threading.Lock()
        threading.Thread(target=self._read, daemon=True).start()
        # Orca's launcher looks for other Orcas of the same user with pgrep,
        # machine-wide: it refuses to start beside one, and --replace kills
        # them all, the developer's own screen reader or a test running in
        # another build included. A pgrep that finds nothing keeps this Orca
        # to its own desktop.
        bin_dir = os.path.join(desktop.tmp, "orca-bin")
        os.makedirs(bin_dir, exist_ok=True)
        pgrep = os.path.join(bin_dir, "pgrep")
        with open(pgrep, "w") as f:
            f.write("#!/bin/sh\nexit 1\n")
        os.chmod(pgrep, 0o755)
        path = bin_dir + os.pathsep + os.environ.get("PATH", "/usr/bin:/bin")
        # A page's live region reaches Orca as a message, which it drops with
        # speech off; there speech stays on, with no speech server to reach.
        self.proc = desktop.start(
            [
                "orca",
                *(["-d", "speech"] if speech_off else []),
                "-d",
                "braille",
                f"--debug-file={os.ttyname(self._slave)}",
            ],
            env={"PATH": path, "SPEECHD_ADDRESS": f"unix_socket:{desktop.tmp}/no-speech"},
            stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL,
        )

    def _read(self):
        pending = b""
        with open(self.log_path, "wb") as log:
            while True:
                try:
                    chunk = os.read(self._master, 65536)
                except OSError:
                    return
                if not chunk:
                    return
                log.write(chunk)
                log.flush()
                pending += chunk
                *whole, pending = pending.split(b"\n")
                with self._lock:
                    self.lines.extend(line.decode(errors="replace") for line in whole)

    def mark(self):
        """Where the log is now, to read on from."""
        with self._lock:
            return len(self.lines)

    def logged(self, since):
        with self._lock:
            return self.lines[since:]

    def said(self):
        """Every utterance so far, in order, as (text, whether it echoes a key)."""
        with self._lock:
            lines = list(self.lines)
        return [(m.group(1).strip(), bool(m.group(2))) for m in map(UTTERANCE.search, lines) if m]

    def took_up(self, name):
        """Whether Orca has taken up the program of that name."""
        return any("Setting active script" in line and name in line for line in self.logged(0))

    def wait_ready(self, name, timeout=td.PATIENCE):
        td.wait_for(f"Orca to take up {name}", lambda: self.took_up(name), timeout)

    def after(self, action, until=None, timeout=td.PATIENCE):
        """What Orca says after action, once the condition holds of the new
        utterances (if given) and Orca has been quiet for QUIET; a condition
        not met within timeout fails with what was heard."""
        start = len(self.said())
        action()
        began = quiet_since = time.monotonic()
        count = None
        while True:
            heard = self.said()[start:]
            now = time.monotonic()
            if len(heard) != count:
                count, quiet_since = len(heard), now
            done = until is None or until(heard)
            if done and now - quiet_since >= QUIET:
                return heard
            if now - began > timeout:
                raise AssertionError(
                    f"Orca did not say what was awaited within {timeout:.0f} s;" f" it said {heard}"
                )
            time.sleep(0.05)


def window_active(app_name):
    """Whether a window of the program is active, as the accessibility bus tells
    Orca."""
    import pyatspi
    from gi.repository import GLib

    try:
        return any(
            atspi.has_state(window, pyatspi.STATE_ACTIVE)
            for app in atspi.children(pyatspi.Registry.getDesktop(0))
            if app.name == app_name
            for window in atspi.children(app)
        )
    except GLib.GError:  # a window gone while asked about
        return False


def news(heard):
    """The utterances that do not echo a key."""
    return [text for text, echo in heard if not echo]


def question_heard(number):
    """A condition on utterances: the announcement of question number; returns
    its problem."""
    said = re.escape(FACTS.question_announcement(number, "\0"))
    pattern = re.compile(said.replace("\0", r"(\S+?)") + r"\.?$")

    def find(heard):
        for utterance in news(heard):
            match = pattern.search(utterance)
            if match:
                return match.group(1)
        return None

    return find


def contains(text):
    return lambda heard: any(text in h for h in news(heard))


def only_about(text, heard):
    """Whether what was said new is one utterance, carrying text: a focus move,
    or news said twice (as description and announcement), would be heard too."""
    return [text in h for h in news(heard)] == [True]


def into_filled_box(heard):
    """The focus arriving in the answer box with text in it, which is then
    selected: Orca in Firefox may say that alone, without the box's name."""
    return contains(NAME["answerBox"])(heard) or contains("selected")(heard)


def main(run, path):
    problems = {q["problem"] for q in FACTS.questions}
    command, app_name = RUNS[run]
    page = run != "program"

    with td.Desktop(window_manager=True, accessibility=True, time_limit=600) as desktop:
        # Qt's bridge complains on standard error when Orca is slow to answer
        # about a key; kept out of the way and shown only if the test fails.
        program_log = os.path.join(desktop.tmp, "program.log")
        app = desktop.start(
            command(desktop, path),
            env={"GNOME_ACCESSIBILITY": "1", "MOZ_DISABLE_NONLOCAL_CONNECTIONS": "1"},
            stdout=open(program_log, "wb"),
            stderr=subprocess.STDOUT,
        )
        # A browser's window title ends in its own name.
        window = (
            td.wait_for(
                "the window",
                lambda: desktop.run(
                    ["xdotool", "search", "--onlyvisible", "--name", "^" + re.escape(FACTS.title)],
                    check=False,
                ).stdout.split(),
            )[0]
            if page
            else desktop.find_window(FACTS.title, pid=app.pid, size=FACTS.client_size("Form1"))
        )
        # Orca takes up the window that is active as it starts, or one
        # activated later: a window still on its way to active as Orca looks
        # would be neither. Orca starts once the bus tells it active.
        atspi.wait_until(
            "the window active on the accessibility bus", lambda: window_active(app_name)
        )
        started = time.monotonic()
        orca = Orca(desktop, speech_off=not page)
        try:
            orca.wait_ready(app_name)
            print(f"Orca took up the {run} after {time.monotonic() - started:.1f} s")
            print("| key | what Orca said ([key echo]) | time |\n|---|---|---|")

            def step(label, action, until=None):
                began = time.monotonic()
                heard = orca.after(action, until)
                said = " / ".join(f"[{text}]" if echo else text for text, echo in heard)
                print(f"| {label} | {said} | {time.monotonic() - began:.1f} s |", flush=True)
                return heard

            def keys(*names):
                return lambda: desktop.key(*names, delay=150)

            def type_then_tab(text, arrival):
                """Types text into the answer box, reached with what Orca said
                then (arrival), and moves on with Tab. The text must reach the
                box, and no key be taken for a browse-mode command. The browser
                may tell of a typed character after the focus has moved on; Orca
                then takes the caret moving in the box for the focus coming back,
                and stays in browse mode when it really does: Tab waits for Orca
                to have the caret at the text's end."""
                since = orca.mark()

                def reached():
                    return any(
                        m and (m.group(1), int(m.group(2))) == (NAME["answerBox"], len(text))
                        for m in map(CARET_MOVED.search, orca.logged(since))
                    )

                def browsing():
                    return any(BROWSING in line for line in orca.logged(since))

                # Orca in Firefox may say the box's description again, as told.
                told = {h.rstrip(".") for h in news(arrival)}
                if contains("selected")(arrival):
                    told.add(SELECTION_DELETED)
                heard = step(
                    f"type {text}",
                    lambda: desktop.type(text, delay=60),
                    lambda heard: reached() or browsing() or set(news(heard)) - told,
                )
                stray = [h for h in news(heard) if h.rstrip(".") not in told]
                assert reached() and not browsing() and not stray, (
                    f"{text}: in {NAME['answerBox']} {reached()}, in browse mode {browsing()},"
                    f" stray speech {stray}; heard {heard}"
                )
                return step("Tab", keys("Tab"), contains(NAME["accept"]))

            # Orca reads the window and its focused control as it takes it up
            # (the window manager may have activated it already), late on a
            # busy machine: a key sent before goes where the page had no focus.
            step(
                "(window activated)",
                lambda: desktop.activate(window),
                lambda heard: contains(NAME["rule"])(orca.said()),
            )
            step("Tab", keys("Tab"), contains(NAME["start"]))

            heard = step("space on " + NAME["start"], keys("space"), question_heard(1))
            first = question_heard(1)(heard)
            assert first in problems, f"no first question heard after the start: {heard}"
            assert only_about(
                first, heard
            ), f"not the new question alone, once (did the focus move?): {heard}"
            assert WRONG_ANSWER not in FACTS.answers(first)

            heard = step("Tab Tab Tab", keys("Tab", "Tab", "Tab"), contains(NAME["answerBox"]))
            type_then_tab(WRONG_ANSWER, heard)
            heard = step("Return on " + NAME["accept"], keys("Return"), contains(WRONG))
            assert only_about(WRONG, heard), f"not the verdict alone: {heard}"

            # A second answer, right this time, is not judged: nothing may sound
            # like a verdict now.
            right = FACTS.answers(first)[0]
            heard = step("shift+Tab", keys("shift+Tab"), into_filled_box)
            heard = type_then_tab(right, heard)
            # The button that had the focus as the verdict came, reached again,
            # says the verdict too.
            assert any(
                first in h and WRONG in h for h in news(heard)
            ), f"the problem and verdict not said on reaching {NAME['accept']}: {heard}"
            # Whatever Return makes Orca say comes before the focus moving back.
            heard = step(
                "Return on " + NAME["accept"] + ", shift+Tab",
                keys("Return", "shift+Tab"),
                into_filled_box,
            )
            said = news(heard)
            said = said[: next(i for i, h in enumerate(said) if into_filled_box([(h, False)]))]
            assert not any(
                CORRECT in h or WRONG in h or QUESTION in h for h in said
            ), f"a second answer was told as news: {heard}"

            step("shift+Tab ×2", keys("shift+Tab", "shift+Tab"), contains(NAME["next"]))
            heard = step("space on " + NAME["next"], keys("space"), question_heard(2))
            second = question_heard(2)(heard)
            assert (
                second in problems and second != first and only_about(second, heard)
            ), f"no second question alone, once, after {NAME['next']}: {heard}"

            right = FACTS.answers(second)[1]
            heard = step("Tab Tab", keys("Tab", "Tab"), contains(NAME["answerBox"]))
            type_then_tab(right, heard)
            heard = step("Return on " + NAME["accept"], keys("Return"), contains(CORRECT))
            assert only_about(CORRECT, heard), f"not the verdict alone: {heard}"

            if page:
                # The next question, then the rule asked for before an answer:
                # the message box's text is heard as it opens, and once.
                refused = FACTS.texts["answerFirst"]
                step(
                    "shift+Tab ×3",
                    keys("shift+Tab", "shift+Tab", "shift+Tab"),
                    contains(NAME["next"]),
                )
                step("space on " + NAME["next"], keys("space"), question_heard(3))
                step("shift+Tab ×2", keys("shift+Tab", "shift+Tab"), contains(NAME["rule"]))
                heard = step("space on " + NAME["rule"], keys("space"), contains(refused))
                assert sum(refused in h for h in news(heard)) == 1, f"not heard once: {heard}"
        except BaseException:
            with open(program_log, errors="replace") as f:
                print("the program's last output:", *f.readlines()[-10:], sep="\n")
            # Orca's whole log, kept past the desktop for a look at why.
            kept = os.path.abspath(f"orca-{run}-debug.log")
            shutil.copyfile(orca.log_path, kept)
            print("Orca's log:", kept)
            raise
        finally:
            desktop.stop(orca.proc)
    print("PASS")


if __name__ == "__main__":
    if len(sys.argv) == 2:
        main("program", sys.argv[1])
    elif len(sys.argv) == 4 and sys.argv[1] == "--page" and sys.argv[2] in RUNS:
        main(sys.argv[2], sys.argv[3])
    else:
        sys.exit(__doc__)
